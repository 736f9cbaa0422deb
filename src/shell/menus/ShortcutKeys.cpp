#include "shell/menus/ShortcutKeys.h"

#include "shell/winapi/VirtualKeys.h"

#include <string_view>
#include <strings.h>

namespace quarn {

std::array<TSCShellControlDefKeyRec, 7> DefaultKeyTable = {{
    {"Ctrl+A"},
    {"Del"},
    {"Ctrl+C"},
    {"Ctrl+X"},
    {"Ctrl+V"},
    {"F5"},
    {"F2"},
}};

namespace {

constexpr const char* NavigationNames[] = {"Space", "PgUp", "PgDn",  "End", "Home",
                                           "Left",  "Up",   "Right", "Down"};

std::string KeyName(std::uint16_t code) {
    const unsigned key = code & 0xFF;
    switch (key) {
    case VK_BACK:
        return "BkSp";
    case VK_TAB:
        return "Tab";
    case VK_RETURN:
        return "Enter";
    case VK_ESCAPE:
        return "Esc";
    case VK_INSERT:
        return "Ins";
    case VK_DELETE:
        return "Del";
    default:
        break;
    }
    if (key >= VK_SPACE && key <= VK_DOWN) {
        return NavigationNames[key - VK_SPACE];
    }
    if ((key >= '0' && key <= '9') || (key >= 'A' && key <= 'Z')) {
        return std::string(1, static_cast<char>(key));
    }
    if (key >= VK_NUMPAD0 && key <= VK_NUMPAD0 + 9) {
        return std::string(1, static_cast<char>('0' + key - VK_NUMPAD0));
    }
    if (key >= VK_F1 && key <= VK_F1 + 23) {
        return "F" + std::to_string(key - VK_F1 + 1);
    }
    return "#" + std::to_string(code);
}

// Strips prefix from text when text starts with it in any letter case.
bool StripPrefix(std::string_view& text, std::string_view prefix) {
    if (text.size() < prefix.size() ||
        ::strncasecmp(text.data(), prefix.data(), prefix.size()) != 0) {
        return false;
    }
    text.remove_prefix(prefix.size());
    return true;
}

constexpr struct {
    std::string_view text;
    std::uint16_t bit;
} Modifiers[] = {
    {"Shift+", ShortcutShift},
    {"^", ShortcutCtrl},
    {"Ctrl+", ShortcutCtrl},
    {"Alt+", ShortcutAlt},
};

constexpr std::uint16_t FirstKeyCode = 8;
constexpr std::uint16_t LastKeyCode = 597;

} // namespace

std::string KeyToShortcutText(std::uint16_t code) {
    std::string text;
    if (code & ShortcutShift) {
        text += "Shift+";
    }
    if (code & ShortcutCtrl) {
        text += "Ctrl+";
    }
    if (code & ShortcutAlt) {
        text += "Alt+";
    }
    return text + KeyName(code);
}

std::uint16_t ShortcutTextToKey(const std::string& text) {
    std::string_view rest = text;
    std::uint16_t modifiers = 0;
    for (bool stripped = true; stripped;) {
        stripped = false;
        for (const auto& modifier : Modifiers) {
            if (StripPrefix(rest, modifier.text)) {
                modifiers |= modifier.bit;
                stripped = true;
            }
        }
    }
    if (rest.empty()) {
        return 0;
    }
    for (std::uint16_t key = FirstKeyCode; key <= LastKeyCode; ++key) {
        const std::string name = KeyToShortcutText(key);
        if (name.size() == rest.size() &&
            ::strncasecmp(name.data(), rest.data(), rest.size()) == 0) {
            return key | modifiers;
        }
    }
    return 0;
}

void InitDefaultKeyTable() {
    static bool converted = false;
    if (converted) {
        return;
    }
    for (auto& entry : DefaultKeyTable) {
        entry.code = ShortcutTextToKey(entry.text);
    }
    converted = true;
}

int FindDefaultKey(std::uint16_t code) {
    InitDefaultKeyTable();
    for (std::size_t i = 0; i < DefaultKeyTable.size(); ++i) {
        if (DefaultKeyTable[i].code == code) {
            return static_cast<int>(i);
        }
    }
    if ((code & ShortcutShift) && (code & ~ShortcutShift) == DefaultKeyTable[DeleteKey].code) {
        return DeleteKey;
    }
    return -1;
}

} // namespace quarn
