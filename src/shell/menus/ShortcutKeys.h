#pragma once

// The default keys of the folder tree and the file list, and shortcut codes as text.

#include <array>
#include <cstdint>
#include <string>

namespace quarn {

struct TSCShellControlDefKeyRec {
    std::string text;
    std::uint16_t code = 0; // filled by InitDefaultKeyTable
};

// Entries of DefaultKeyTable.
enum DefaultKey : int {
    SelectAllKey = 0, // the list only
    DeleteKey = 1,    // also with Shift held
    CopyKey = 2,
    CutKey = 3,
    PasteKey = 4,
    RefreshKey = 5,
    RenameKey = 6,
};

// "Ctrl+A", "Del", "Ctrl+C", "Ctrl+X", "Ctrl+V", "F5", "F2".
extern std::array<TSCShellControlDefKeyRec, 7> DefaultKeyTable;

// Converts the table's texts to codes, on its first call only.
void InitDefaultKeyTable();

// "Shift+", "Ctrl+", "Alt+" as the code has them, then the key's name: "BkSp", "Tab",
// "Enter", "Esc", "Space", "PgUp", "PgDn", "End", "Home", "Left", "Up", "Right", "Down",
// "Ins", "Del", digits (also of the numeric pad), letters, "F1" to "F24"; any other key
// "#" and the whole code in decimal.
std::string KeyToShortcutText(std::uint16_t code);

// The code of a text: leading "Shift+", "Ctrl+" or "^", "Alt+" in any order and letter case,
// then the name of a key (the first code from 8 to 597 whose text it is, in any letter
// case). 0 for an empty or unknown name.
std::uint16_t ShortcutTextToKey(const std::string& text);

// The entry a pressed key's shortcut code matches, Del also with Shift held; -1 for none.
// Fills the table on first use.
int FindDefaultKey(std::uint16_t code);

} // namespace quarn
