#include "shell/list/ShellListColumns.h"

#include "platform/Registry.h"
#include "platform/gui/DesignScale.h"
#include "shell/common/MemoryStream.h"

#include <QtEndian>
#include <algorithm>

namespace quarn {

namespace {

constexpr char ExplorerKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer";
constexpr std::size_t DirectoryColsLimit = 22;

void WriteWord(TMemoryStream& store, std::uint32_t value) {
    const std::uint32_t little = qToLittleEndian(value);
    store.Write(&little, sizeof little);
}

bool ReadWord(TMemoryStream& store, std::uint32_t& value) {
    if (store.Remaining() < sizeof value) {
        return false;
    }
    store.ReadBuffer(&value, sizeof value);
    value = qFromLittleEndian(value);
    return true;
}

} // namespace

std::vector<TSCListColumn> OwnColumns() {
    return {{"Name"}, {"Size", Qt::AlignRight}, {"Type"}, {"Modified"}};
}

bool TSCDirectoryCols::Matches(const TSCDirectoryCols& other) const {
    return Count == other.Count &&
           std::equal(Words.begin(), Words.begin() + Count / 2, other.Words.begin());
}

TSCDirectoryCols ReadDirectoryCols() {
    TSCDirectoryCols cols;
    try {
        TRegistry registry(RegistryRoot::CurrentUser);
        if (!registry.OpenKeyReadOnly(ExplorerKey) || !registry.ValueExists("DirectoryCols")) {
            return cols;
        }
        const std::vector<std::uint8_t> bytes = registry.ReadBinaryData("DirectoryCols");
        if (bytes.size() > DirectoryColsLimit) {
            return cols;
        }
        for (std::size_t i = 0; i < bytes.size(); ++i) {
            auto& word = cols.Words[i / 2];
            word = i % 2 ? static_cast<std::uint16_t>((word & 0x00FF) | (bytes[i] << 8))
                         : static_cast<std::uint16_t>((word & 0xFF00) | bytes[i]);
        }
        cols.Count = static_cast<int>(bytes.size());
        cols.Read = cols.Count;
    } catch (const ERegistryException&) {
    }
    return cols;
}

std::vector<int> OwnColumnWidths(const TSCDirectoryCols& cols, const DesignScale& px) {
    std::vector<int> widths;
    for (int column = 0; column < 4; ++column) {
        const int word = cols.Words[static_cast<std::size_t>(column)];
        widths.push_back(2 * column < cols.Read ? word : px(word));
    }
    return widths;
}

TMemoryStream& ColumnWidthStore() {
    static TMemoryStream store;
    return store;
}

TSCDirectoryCols& LastDirectoryCols() {
    static TSCDirectoryCols copy{{}, 0};
    return copy;
}

void WriteColumnWidths(TMemoryStream& store, const std::vector<int>& widths) {
    store = TMemoryStream();
    WriteWord(store, static_cast<std::uint32_t>(widths.size()));
    for (const int width : widths) {
        WriteWord(store, static_cast<std::uint32_t>(width));
    }
}

std::vector<int> ReadColumnWidths(TMemoryStream& store) {
    std::vector<int> widths;
    store.SetPosition(0);
    std::uint32_t count = 0;
    if (!ReadWord(store, count)) {
        return widths;
    }
    for (std::uint32_t width = 0; widths.size() < count && ReadWord(store, width);) {
        widths.push_back(static_cast<int>(width));
    }
    return widths;
}

} // namespace quarn
