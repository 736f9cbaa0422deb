// Qt keys as virtual-key and shortcut codes, shortcut codes as text and back, and the default
// key table of the controls.
#include "shell/menus/ShortcutKeys.h"

#include "shell/winapi/VirtualKeys.h"

#include <QKeyEvent>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

TEST(ShortcutCodeOf, QtKeysAndModifiers) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        std::uint16_t code;
    } cases[] = {
        {Qt::Key_Delete, Qt::NoModifier, 0x2E},
        {Qt::Key_Delete, Qt::ShiftModifier, 0x202E},
        {Qt::Key_Delete, Qt::ControlModifier, 0x402E},
        {Qt::Key_F10, Qt::ShiftModifier, 0x2079},
        {Qt::Key_Menu, Qt::NoModifier, 0x5D},
        {Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier, 0x6041},
        {Qt::Key_X, Qt::ControlModifier | Qt::AltModifier, 0xC058},
        {Qt::Key_F2, Qt::NoModifier, 0x71},
        {Qt::Key_F24, Qt::NoModifier, 0x87},
        {Qt::Key_5, Qt::NoModifier, 0x35},
        {Qt::Key_5, Qt::KeypadModifier, 0x65},
        {Qt::Key_Minus, Qt::KeypadModifier, 0x6D},
        {Qt::Key_Minus, Qt::NoModifier, 0xBD},
        {Qt::Key_Enter, Qt::KeypadModifier, 0x0D},
        {Qt::Key_Return, Qt::NoModifier, 0x0D},
        {Qt::Key_Backtab, Qt::ShiftModifier, 0x2009},
        {Qt::Key_Backspace, Qt::NoModifier, 0x08},
        {Qt::Key_PageUp, Qt::NoModifier, 0x21},
        {Qt::Key_Down, Qt::NoModifier, 0x28},
        {Qt::Key_Exclam, Qt::ShiftModifier, 0}, // Shift+1 reported by its character
        {Qt::Key_unknown, Qt::NoModifier, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutCodeOf(c.key, c.modifiers), c.code) << std::hex << c.key;
    }
    const QKeyEvent copy(QEvent::KeyPress, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(ShortcutCodeOf(copy), 0x4043);
}

TEST(KeyToShortcutText, NamesAndModifiers) {
    const struct {
        std::uint16_t code;
        const char* text;
    } cases[] = {
        {0x08, "BkSp"},
        {0x09, "Tab"},
        {0x0D, "Enter"},
        {0x1B, "Esc"},
        {0x20, "Space"},
        {0x21, "PgUp"},
        {0x22, "PgDn"},
        {0x23, "End"},
        {0x24, "Home"},
        {0x25, "Left"},
        {0x26, "Up"},
        {0x27, "Right"},
        {0x28, "Down"},
        {0x2D, "Ins"},
        {0x2E, "Del"},
        {0x30, "0"},
        {0x39, "9"},
        {0x41, "A"},
        {0x5A, "Z"},
        {0x60, "0"},
        {0x65, "5"},
        {0x70, "F1"},
        {0x87, "F24"},
        {0x5D, "#93"},
        {0x2000 | 0x2E, "Shift+Del"},
        {0x6041, "Shift+Ctrl+A"},
        {0xE074, "Shift+Ctrl+Alt+F5"},
        {0x4000 | 0x5D, "Ctrl+#16477"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(KeyToShortcutText(c.code), c.text) << std::hex << c.code;
    }
}

TEST(ShortcutTextToKey, PrefixesAndNamesInAnyCase) {
    const struct {
        const char* text;
        std::uint16_t code;
    } cases[] = {
        {"Shift+Ctrl+A", 0x6041},
        {"Ctrl+Shift+A", 0x6041},
        {"^A", 0x4041},
        {"ctrl+f5", 0x4074},
        {"SHIFT+del", 0x202E},
        {"Alt+BkSp", 0x8008},
        {"5", 0x35},
        {"F24", 0x87},
        {"Shift+Shift+A", 0x2041},
        {"#300", 300},
        {"", 0},
        {"Ctrl+", 0},
        {"Hyper+A", 0},
        {"F25", 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ShortcutTextToKey(c.text), c.code) << c.text;
    }
}

TEST(DefaultKeyTable, CodesAndTheKeysThatMatchThem) {
    InitDefaultKeyTable();
    const std::uint16_t codes[] = {0x4041, 0x2E, 0x4043, 0x4058, 0x4056, 0x74, 0x71};
    for (std::size_t i = 0; i < DefaultKeyTable.size(); ++i) {
        EXPECT_EQ(DefaultKeyTable[i].code, codes[i]) << DefaultKeyTable[i].text;
    }
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        int entry;
    } presses[] = {
        {Qt::Key_A, Qt::ControlModifier, SelectAllKey},
        {Qt::Key_Delete, Qt::NoModifier, DeleteKey},
        {Qt::Key_Delete, Qt::ShiftModifier, DeleteKey},
        {Qt::Key_Delete, Qt::ControlModifier, -1},
        {Qt::Key_C, Qt::ControlModifier, CopyKey},
        {Qt::Key_X, Qt::ControlModifier, CutKey},
        {Qt::Key_V, Qt::ControlModifier, PasteKey},
        {Qt::Key_V, Qt::ControlModifier | Qt::ShiftModifier, -1},
        {Qt::Key_F5, Qt::NoModifier, RefreshKey},
        {Qt::Key_F2, Qt::NoModifier, RenameKey},
        {Qt::Key_F2, Qt::ShiftModifier, -1},
        {Qt::Key_C, Qt::NoModifier, -1},
    };
    for (const auto& press : presses) {
        EXPECT_EQ(FindDefaultKey(ShortcutCodeOf(press.key, press.modifiers)), press.entry)
            << KeyToShortcutText(ShortcutCodeOf(press.key, press.modifiers));
    }
}

} // namespace
} // namespace quarn::test
