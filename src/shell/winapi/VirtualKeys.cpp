#include "shell/winapi/VirtualKeys.h"

#include <QKeyEvent>
#include <algorithm>
#include <iterator>
#include <utility>

namespace quarn {

namespace {

struct KeyCode {
    int key;
    std::uint8_t code;
};

// Keys outside the letter, digit and function-key ranges.
constexpr KeyCode NamedKeys[] = {
    {Qt::Key_Backspace, VK_BACK}, {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Clear, 0x0C},        {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},
    {Qt::Key_Shift, VK_SHIFT},    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},
    {Qt::Key_Pause, 0x13},        {Qt::Key_CapsLock, 0x14},      {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},    {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},        {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},          {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Select, 0x29},       {Qt::Key_Print, 0x2C},         {Qt::Key_Insert, VK_INSERT},
    {Qt::Key_Delete, VK_DELETE},  {Qt::Key_Help, 0x2F},          {Qt::Key_Menu, VK_APPS},
    {Qt::Key_NumLock, 0x90},      {Qt::Key_ScrollLock, 0x91},    {Qt::Key_Semicolon, 0xBA},
    {Qt::Key_Equal, 0xBB},        {Qt::Key_Comma, 0xBC},         {Qt::Key_Minus, 0xBD},
    {Qt::Key_Period, 0xBE},       {Qt::Key_Slash, 0xBF},         {Qt::Key_QuoteLeft, 0xC0},
    {Qt::Key_BracketLeft, 0xDB},  {Qt::Key_Backslash, 0xDC},     {Qt::Key_BracketRight, 0xDD},
    {Qt::Key_Apostrophe, 0xDE},
};

// Keys of the numeric pad other than its digits.
constexpr KeyCode KeypadKeys[] = {
    {Qt::Key_Asterisk, 0x6A}, {Qt::Key_Plus, 0x6B},  {Qt::Key_Minus, 0x6D},
    {Qt::Key_Period, 0x6E},   {Qt::Key_Slash, 0x6F}, {Qt::Key_Enter, VK_RETURN},
};

std::uint8_t Lookup(const KeyCode* first, const KeyCode* last, int key) {
    const auto found =
        std::find_if(first, last, [key](const KeyCode& each) { return each.key == key; });
    return found == last ? 0 : found->code;
}

} // namespace

std::uint8_t VirtualKeyOf(int key, Qt::KeyboardModifiers modifiers) {
    const bool keypad = modifiers.testFlag(Qt::KeypadModifier);
    if (key >= Qt::Key_0 && key <= Qt::Key_9) {
        return static_cast<std::uint8_t>((keypad ? VK_NUMPAD0 : 0x30) + (key - Qt::Key_0));
    }
    if (key >= Qt::Key_A && key <= Qt::Key_Z) {
        return static_cast<std::uint8_t>(0x41 + (key - Qt::Key_A));
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) {
        return static_cast<std::uint8_t>(VK_F1 + (key - Qt::Key_F1));
    }
    if (keypad) {
        if (const std::uint8_t code = Lookup(std::begin(KeypadKeys), std::end(KeypadKeys), key)) {
            return code;
        }
    }
    return Lookup(std::begin(NamedKeys), std::end(NamedKeys), key);
}

std::uint16_t ShortcutCodeOf(int key, Qt::KeyboardModifiers modifiers) {
    const std::uint8_t code = VirtualKeyOf(key, modifiers);
    if (code == 0) {
        return 0;
    }
    return static_cast<std::uint16_t>(code |
                                      (modifiers.testFlag(Qt::ShiftModifier) ? ShortcutShift : 0) |
                                      (modifiers.testFlag(Qt::ControlModifier) ? ShortcutCtrl : 0) |
                                      (modifiers.testFlag(Qt::AltModifier) ? ShortcutAlt : 0));
}

std::uint16_t ShortcutCodeOf(const QKeyEvent& key) {
    return ShortcutCodeOf(key.key(), key.modifiers());
}

} // namespace quarn
