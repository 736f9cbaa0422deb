#include "shell/views/RenameEditor.h"

#include <QApplication>
#include <QChar>
#include <QList>
#include <QWidget>
#include <algorithm>
#include <vector>

namespace quarn {

namespace {

constexpr char32_t Replacement = 0xFFFD;

// One character of a name: its code point and the bytes it takes.
struct NameChar {
    char32_t code;
    std::size_t begin;
    std::size_t end;
};

bool InRange(unsigned char byte, unsigned char low, unsigned char high) {
    return byte >= low && byte <= high;
}

// The code point of the valid UTF-8 sequence at the start of text, with its length; a length
// of 0 when the first byte begins none (overlong forms and surrogates are not valid).
std::pair<char32_t, std::size_t> DecodeAt(const std::string& text, std::size_t at) {
    const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[at + i]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return {lead, 1};
    }
    std::size_t length = 0;
    unsigned char low = 0x80;
    unsigned char high = 0xBF;
    if (InRange(lead, 0xC2, 0xDF)) {
        length = 2;
    } else if (InRange(lead, 0xE0, 0xEF)) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (InRange(lead, 0xF0, 0xF4)) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    }
    if (length == 0 || at + length > text.size() || !InRange(byte(1), low, high)) {
        return {0, 0};
    }
    char32_t code = lead & (0xFF >> (length + 1));
    for (std::size_t i = 1; i < length; ++i) {
        if (!InRange(byte(i), 0x80, 0xBF)) {
            return {0, 0};
        }
        code = (code << 6) | (byte(i) & 0x3F);
    }
    return {code, length};
}

std::vector<NameChar> NameChars(const std::string& name) {
    std::vector<NameChar> chars;
    for (std::size_t at = 0; at < name.size();) {
        const auto [code, length] = DecodeAt(name, at);
        const std::size_t taken = length == 0 ? 1 : length;
        chars.push_back({length == 0 ? Replacement : code, at, at + taken});
        at += taken;
    }
    return chars;
}

// Whether the characters from first to last (not included) are all blanks.
bool AllBlank(const std::vector<NameChar>& chars, std::size_t first, std::size_t last) {
    return std::all_of(chars.begin() + static_cast<std::ptrdiff_t>(first),
                       chars.begin() + static_cast<std::ptrdiff_t>(last),
                       [](const NameChar& c) { return QChar::isSpace(c.code); });
}

bool IsBlank(uint code) {
    return QChar::isSpace(static_cast<char32_t>(code));
}

} // namespace

QString EditorText(const std::string& name) {
    std::vector<char32_t> codes;
    for (const NameChar& c : NameChars(name)) {
        codes.push_back(c.code);
    }
    return QString::fromUcs4(codes.data(), static_cast<qsizetype>(codes.size()));
}

std::optional<std::string> EditedName(const std::string& name, const QString& edited) {
    const std::vector<NameChar> chars = NameChars(name);
    const QList<uint> codes = edited.toUcs4();
    const std::size_t count = chars.size();
    const std::size_t editedCount = static_cast<std::size_t>(codes.size());
    std::size_t same = 0; // characters at the start left as they were
    while (same < count && same < editedCount && chars[same].code == codes[same]) {
        ++same;
    }
    std::size_t sameEnd = 0; // and at the end
    while (sameEnd < count - same && sameEnd < editedCount - same &&
           chars[count - 1 - sameEnd].code == codes[editedCount - 1 - sameEnd]) {
        ++sameEnd;
    }
    std::size_t first = same; // the changed part of the edited text
    std::size_t last = editedCount - sameEnd;
    if (AllBlank(chars, 0, same)) {
        while (first < last && IsBlank(codes[first])) {
            ++first;
        }
    }
    if (AllBlank(chars, count - sameEnd, count)) {
        while (last > first && IsBlank(codes[last - 1])) {
            --last;
        }
    }
    const QByteArray typed =
        QString::fromUcs4(reinterpret_cast<const char32_t*>(codes.constData()) + first,
                          static_cast<qsizetype>(last - first))
            .toUtf8();
    const std::size_t keptStart = same < count ? chars[same].begin : name.size();
    const std::size_t keptEnd = sameEnd > 0 ? chars[count - sameEnd].begin : name.size();
    std::string result = name.substr(0, keptStart);
    result.append(typed.constData(), static_cast<std::size_t>(typed.size()));
    result.append(name, keptEnd);
    if (result == name) {
        return std::nullopt;
    }
    return result;
}

void TakeFocusBackFromEditor(QWidget& control) {
    const QWidget* focused = QApplication::focusWidget();
    if (focused == nullptr || !focused->isVisible() || focused == &control ||
        control.isAncestorOf(focused)) {
        control.setFocus(Qt::OtherFocusReason);
    }
}

} // namespace quarn
