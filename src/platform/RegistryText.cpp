#include "platform/RegistryText.h"

#include "platform/AsciiText.h"
#include "platform/SplitText.h"

#include <cstdint>

namespace quarn {

namespace {
constexpr char HexDigits[] = "0123456789abcdef";

void AppendHex(std::string& out, unsigned char byte) {
    out += HexDigits[byte >> 4];
    out += HexDigits[byte & 0x0F];
}

// The byte written by two hex digits at text[pos], or -1.
int HexByteAt(std::string_view text, std::size_t pos) {
    if (pos + 2 > text.size()) {
        return -1;
    }
    const int high = HexDigitValue(text[pos]);
    const int low = HexDigitValue(text[pos + 1]);
    return high < 0 || low < 0 ? -1 : high * 16 + low;
}

bool IsControl(unsigned char byte) {
    return byte < 0x20 || byte == 0x7F;
}

// Copies text to out. named(out, byte) writes the escapes of bytes with a name of their own
// and says whether it did; every other control byte and every byte outside valid UTF-8 is
// written as prefix + two hex digits.
template <typename Named>
void AppendEscaped(std::string& out, std::string_view text, const char* prefix, Named named) {
    std::size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<unsigned char>(text[pos]);
        if (named(out, byte)) {
            ++pos;
            continue;
        }
        const std::size_t length = IsControl(byte) ? 0 : Utf8SequenceLength(text, pos);
        if (length == 0) {
            out += prefix;
            AppendHex(out, byte);
            ++pos;
            continue;
        }
        out.append(text.substr(pos, length));
        pos += length;
    }
}

std::optional<std::string> DecodePercent(std::string_view part) {
    std::string bytes;
    for (std::size_t pos = 0; pos < part.size(); ++pos) {
        if (part[pos] != '%') {
            bytes += part[pos];
            continue;
        }
        const int byte = HexByteAt(part, pos + 1);
        if (byte < 0) {
            return std::nullopt;
        }
        bytes += static_cast<char>(byte);
        pos += 2;
    }
    return bytes;
}
} // namespace

std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t point = 0;
    std::uint32_t smallest = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, point = lead & 0x1F, smallest = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, point = lead & 0x0F, smallest = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, point = lead & 0x07, smallest = 0x10000;
    } else {
        return 0;
    }
    if (pos + length > text.size()) {
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        point = (point << 6) | (next & 0x3F);
    }
    const bool surrogate = point >= 0xD800 && point <= 0xDFFF;
    return point < smallest || point > 0x10FFFF || surrogate ? 0 : length;
}

std::string QuoteRegistryString(std::string_view bytes) {
    std::string out = "\"";
    AppendEscaped(out, bytes, "\\x", [](std::string& to, unsigned char byte) {
        switch (byte) {
        case '\\':
            to += "\\\\";
            return true;
        case '"':
            to += "\\\"";
            return true;
        case '\r':
            to += "\\r";
            return true;
        case '\n':
            to += "\\n";
            return true;
        case '\t':
            to += "\\t";
            return true;
        default:
            return false;
        }
    });
    out += '"';
    return out;
}

std::optional<std::string> ParseRegistryString(std::string_view text, std::size_t& pos) {
    if (pos >= text.size() || text[pos] != '"') {
        return std::nullopt;
    }
    std::string bytes;
    for (std::size_t at = pos + 1; at < text.size(); ++at) {
        const char c = text[at];
        if (c == '"') {
            pos = at + 1;
            return bytes;
        }
        if (c != '\\') {
            bytes += c;
            continue;
        }
        if (++at >= text.size()) {
            return std::nullopt;
        }
        switch (text[at]) {
        case '\\':
            bytes += '\\';
            break;
        case '"':
            bytes += '"';
            break;
        case 'r':
            bytes += '\r';
            break;
        case 'n':
            bytes += '\n';
            break;
        case 't':
            bytes += '\t';
            break;
        case 'x': {
            const int byte = HexByteAt(text, at + 1);
            if (byte < 0) {
                return std::nullopt;
            }
            bytes += static_cast<char>(byte);
            at += 2;
            break;
        }
        default:
            return std::nullopt;
        }
    }
    return std::nullopt; // no closing quote
}

std::string FormatKeyHeader(const std::vector<std::string>& path) {
    std::string out = "[";
    for (std::size_t i = 0; i < path.size(); ++i) {
        if (i > 0) {
            out += '\\';
        }
        AppendEscaped(out, path[i], "%", [](std::string& to, unsigned char byte) {
            if (byte != '%') {
                return false;
            }
            to += "%25";
            return true;
        });
    }
    out += ']';
    return out;
}

std::optional<std::vector<std::string>> ParseKeyHeader(std::string_view line) {
    if (line.size() < 2 || line.front() != '[' || line.back() != ']') {
        return std::nullopt;
    }
    const std::string_view inside = line.substr(1, line.size() - 2);
    std::vector<std::string> path;
    for (const std::string_view piece : SplitSkippingEmpty(inside, '\\')) {
        auto part = DecodePercent(piece);
        if (!part) {
            return std::nullopt;
        }
        path.push_back(std::move(*part));
    }
    return path;
}

} // namespace quarn
