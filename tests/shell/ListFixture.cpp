#include "ListFixture.h"

#include "ControlTestSupport.h"
#include "shell/common/MemoryStream.h"
#include "shell/list/ShellListColumns.h"
#include "shell/list/ShellListData.h"

#include <QLocale>
#include <QTreeView>
#include <ctime>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {

const std::string ListFixture::RawName = "\xff\xfe raw.bin";

void SetModifiedTime(const std::string& path, std::int64_t seconds) {
    const timespec times[2] = {{seconds, 0}, {seconds, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, path.c_str(), times, AT_SYMLINK_NOFOLLOW), 0) << path;
}

ListFixture::ListFixture() {
    namespace fs = std::filesystem;
    fs::create_directories(dir_.Path() / "files" / "sub");
    const std::vector<std::pair<std::string, std::size_t>> files = {
        {"a.txt", 0},      {"A.txt", 1},        {"b.bin", 1024},
        {"c.TXT", 1025},   {"w*?.txt", 2048},   {"wide.txt", 1'536'000},
        {RawName, 3},      {"ARCHIVE.ZIP", 22}, {"straße.txt", 5},
        {"STRASSE.txt", 6}};
    for (const auto& [name, size] : files) {
        WriteFileBytes(Path("files/" + name), std::string(size, 'x'));
    }
    const int huge = open(Path("files/huge.bin").c_str(), O_CREAT | O_WRONLY, 0644);
    EXPECT_EQ(ftruncate(huge, static_cast<off_t>(HugeSize)), 0);
    close(huge);
    fs::create_directory_symlink("sub", dir_.Path() / "files" / "link to sub");
    for (const auto& entry : fs::directory_iterator(dir_.Path() / "files")) {
        SetModifiedTime(entry.path(), ModifiedTime);
    }
}

std::string ListFixture::Path(const std::string& relative) const {
    return relative.empty() ? dir_.Path().string() : dir_ / relative;
}

std::vector<std::string> RowNames(TSCCustomShellList& list) {
    std::vector<std::string> names;
    for (int row = 0; row < list.Count(); ++row) {
        names.push_back(list.GetItemData(row)->GetDisplayName());
    }
    return names;
}

std::string CellText(TSCCustomShellList& list, int row, int column) {
    return list.Items().index(row, column).data().toString().toStdString();
}

int RowNamed(TSCCustomShellList& list, const std::string& name) {
    const auto names = RowNames(list);
    const auto found = std::find(names.begin(), names.end(), name);
    return found == names.end() ? -1 : static_cast<int>(found - names.begin());
}

ShellListTest::ShellListTest() {
    tzset();
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    ColumnWidthStore() = TMemoryStream();
    LastDirectoryCols() = TSCDirectoryCols{{}, 0};
    ShowAndSettle(list);
}

ShellListTest::~ShellListTest() {
    EXPECT_EQ((*messages).Texts(), std::vector<std::string>{});
    QLocale::setDefault(QLocale::system());
}

} // namespace quarn::test
