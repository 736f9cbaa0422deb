// The status bar's counts and sizes as the list and its selection change.
#include "ListFixture.h"
#include "ScopedEnvironment.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QTest>
#include <clocale>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <unistd.h>

namespace quarn::test {
namespace {

constexpr std::uint64_t GiB = std::uint64_t(1) << 30;

// A file of size bytes that takes no room on the disc.
void MakeSparseFile(const std::string& path, std::uint64_t size) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
    ASSERT_GE(fd, 0);
    ASSERT_EQ(ftruncate(fd, static_cast<off_t>(size)), 0);
    close(fd);
}

using StatusBar = ListTest;

struct SizeOptions {
    bool folderSize;
    bool selectedSize;
};

TEST_F(StatusBar, NoOneAndManyFilesWithEachSizeOption) {
    const SizeOptions options[] = {{false, false}, {true, false}, {false, true}, {true, true}};
    for (const auto& [folderSize, selectedSize] : options) {
        SCOPED_TRACE(testing::Message() << "folder " << folderSize << " selected " << selectedSize);
        const auto folderText = [&](const char* count, const char* size) {
            return QString(count) + (folderSize ? QString(", ") + size : QString());
        };
        const auto selectedText = [&](const char* count, const char* size) {
            return QString(count) + (selectedSize ? QString(", ") + size : QString());
        };
        std::filesystem::remove_all(dir.Path());
        std::filesystem::create_directory(dir.Path());

        StartWithSizes(folderSize, selectedSize);
        EXPECT_EQ(Panel(0), folderText("0 files", "0 bytes"));
        EXPECT_EQ(Panel(1), selectedText("0 files selected", "0 bytes"));
        Stop();

        WriteFileBytes(dir / "thousand.txt", PatternBytes(1000));
        StartWithSizes(folderSize, selectedSize);
        EXPECT_EQ(Panel(0), folderText("1 file", "0.97 KB"));
        Click("thousand.txt");
        EXPECT_EQ(Panel(1), selectedText("1 file selected", "0.97 KB"));
        Stop();

        WriteFileBytes(dir / "small.txt", PatternBytes(999));
        WriteFileBytes(dir / "large.bin", PatternBytes(1047552));
        StartWithSizes(folderSize, selectedSize);
        EXPECT_EQ(Panel(0), folderText("3 files", "1.00 MB"));
        Click("small.txt");
        EXPECT_EQ(Panel(1), selectedText("1 file selected", "999 bytes"));
        Click("large.bin", Qt::ControlModifier);
        EXPECT_EQ(Panel(1), selectedText("2 files selected", "1023 KB"));
        Click("thousand.txt", Qt::ShiftModifier);
        EXPECT_EQ(Panel(1), selectedText("3 files selected", "1.00 MB"));
        Stop();
    }
}

TEST_F(StatusBar, ClickOnEmptySpaceClearsTheSelection) {
    WriteFileBytes(dir / "a.txt", PatternBytes(1000));
    WriteFileBytes(dir / "b.txt", PatternBytes(1000));
    StartWithSizes(true, true);
    Child<QAction>("SelectAll1")->trigger();
    EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 1.95 KB"));
    ClickEmptySpace();
    EXPECT_EQ(Panel(1), QStringLiteral("0 files selected, 0 bytes"));
    EXPECT_EQ(Panel(0), QStringLiteral("2 files, 1.95 KB"));
}

TEST_F(StatusBar, TheCountsFollowEveryChangeOfTheSelection) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        WriteFileBytes(dir / name, PatternBytes(100));
    }
    StartWithSizes(false, true);
    Click("a.txt");
    QTest::keyClick(&View(), Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 200 bytes"));
    QTest::keyClick(&View(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(&View(), Qt::Key_Space, Qt::ControlModifier);
    EXPECT_EQ(List().SelCount(), 3);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Panel(1) == QStringLiteral("3 files selected, 300 bytes"); }, 5000))
        << Panel(1).toStdString();
    List().SetSelected(Row("b.txt"), false);
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Panel(1) == QStringLiteral("2 files selected, 200 bytes"); }, 5000))
        << "a change made by no key and no click: " << Panel(1).toStdString();
}

TEST_F(StatusBar, ACommandThatTakesTheSelectionCountsItWhenItEnds) {
    WriteFileBytes(dir / "a.txt", PatternBytes(100));
    StartWithSizes(false, true);
    Click("a.txt");
    ASSERT_EQ(Panel(1), QStringLiteral("1 file selected, 100 bytes"));
    QString duringTheCommand;
    WhenModal([&](QWidget& passwordDialog) {
        duringTheCommand = Panel(1);
        passwordDialog.close();
    });
    ASSERT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
    QTest::keyClick(&View(), Qt::Key_F9);
    EXPECT_EQ(duringTheCommand, QStringLiteral("1 file selected, 100 bytes"))
        << "the panels are the command's while it runs";
    EXPECT_EQ(List().SelCount(), 0) << "the command took the selection";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return Panel(1) == QStringLiteral("0 files selected, 0 bytes"); }, 5000))
        << Panel(1).toStdString();
}

TEST_F(StatusBar, SelectAllWithOnlyTheSelectedSizeShowsTheTotalAndInvertFlipsEveryItem) {
    WriteFileBytes(dir / "a.txt", PatternBytes(1536));
    WriteFileBytes(dir / "b.txt", PatternBytes(100));
    WriteFileBytes(dir / "c.txt", PatternBytes(200));
    StartWithSizes(false, true);
    Child<QAction>("SelectAll1")->trigger();
    EXPECT_EQ(Panel(0), QStringLiteral("3 files"));
    EXPECT_EQ(Panel(1), QStringLiteral("3 files selected, 1.79 KB"));
    Click("a.txt");
    Child<QAction>("InvertSelection1")->trigger();
    EXPECT_FALSE(List().IsSelected(Row("a.txt")));
    EXPECT_TRUE(List().IsSelected(Row("b.txt")));
    EXPECT_TRUE(List().IsSelected(Row("c.txt")));
    EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 300 bytes"));
    Child<QAction>("InvertSelection1")->trigger();
    EXPECT_EQ(List().SelectedDisplayNames(), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(Panel(1), QStringLiteral("1 file selected, 1.50 KB"));
}

TEST_F(StatusBar, SizesBeyondFourGigabytesNeitherWrapNorTurnNegative) {
    MakeSparseFile(dir / "first.img", 3 * GiB);
    MakeSparseFile(dir / "second.img", 3 * GiB);
    StartWithSizes(true, true);
    EXPECT_EQ(Panel(0), QStringLiteral("2 files, 6.00 GB"));
    Click("first.img");
    EXPECT_EQ(Panel(1), QStringLiteral("1 file selected, 3.00 GB"));
    Child<QAction>("SelectAll1")->trigger();
    EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 6.00 GB"));
}

// LC_NUMERIC set to German, made from the system's locale sources in a folder of the test's
// own, for the object's lifetime.
class GermanNumbers {
public:
    explicit GermanNumbers(const std::filesystem::path& folder)
        : locales_("LOCPATH", folder.string()) {
        const std::string compile = "localedef -i de_DE -f UTF-8 '" +
                                    (folder / "de_DE.UTF-8").string() + "' >/dev/null 2>&1";
        std::filesystem::create_directory(folder);
        made_ = std::system(compile.c_str()) == 0 &&
                std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
    }
    ~GermanNumbers() { std::setlocale(LC_NUMERIC, "C"); }
    GermanNumbers(const GermanNumbers&) = delete;
    GermanNumbers& operator=(const GermanNumbers&) = delete;

    bool Made() const { return made_; }

private:
    ScopedEnvironment locales_;
    bool made_ = false;
};

TEST_F(StatusBar, SizesKeepTheirPointWhateverTheNumericLocale) {
    const GermanNumbers german(dir / "locales");
    ASSERT_TRUE(german.Made()) << "the German locale could not be made";
    char probe[16];
    std::snprintf(probe, sizeof probe, "%3.3f", 0.5);
    ASSERT_STREQ(probe, "0,500") << "the locale formats with a comma";

    WriteFileBytes(dir / "thousand.txt", PatternBytes(1000));
    StartWithSizes(true, true);
    EXPECT_EQ(Panel(0), QStringLiteral("1 file, 0.97 KB"));
}

TEST_F(StatusBar, PanelsShareTheWidthAndTheLightsStayInTheLastPanel) {
    Start();
    const TStatusBar& bar = *Child<TStatusBar>("StatusBar");
    for (const int width : {482, 700, 333}) {
        SCOPED_TRACE(width);
        Main().resize(width, Main().height());
        ASSERT_TRUE(QTest::qWaitFor([&] { return bar.width() == width; }, WaitMs));
        EXPECT_EQ(bar.PanelRect(0).width(), (width - 55) / 2);
        EXPECT_EQ(bar.PanelRect(1).width(), (width - 55) / 2);
        const QRect lights = Child<QWidget>("pStatus")->geometry();
        EXPECT_TRUE(bar.PanelRect(2).contains(lights)) << lights.x() << "," << lights.y();
    }
}

} // namespace
} // namespace quarn::test
