#include "platform/RegistryDocument.h"

#include "platform/AsciiText.h"
#include "platform/RegistryText.h"
#include "platform/SplitText.h"

#include <algorithm>
#include <cstdio>

namespace quarn {

namespace {
bool SamePath(const RegistryKeyPath& a, const RegistryKeyPath& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), SameRegistryName);
}

bool StartsWithPath(const RegistryKeyPath& path, const RegistryKeyPath& prefix) {
    return path.size() >= prefix.size() &&
           std::equal(prefix.begin(), prefix.end(), path.begin(), SameRegistryName);
}

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trimmed(std::string_view text) {
    while (!text.empty() && (IsBlank(text.front()) || text.front() == '\r')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (IsBlank(text.back()) || text.back() == '\r')) {
        text.remove_suffix(1);
    }
    return text;
}

void SkipBlanks(std::string_view text, std::size_t& pos) {
    while (pos < text.size() && IsBlank(text[pos])) {
        ++pos;
    }
}

bool TakeWord(std::string_view text, std::size_t& pos, std::string_view word) {
    if (text.size() - pos < word.size() || !SameRegistryName(text.substr(pos, word.size()), word)) {
        return false;
    }
    pos += word.size();
    return true;
}

std::optional<std::uint32_t> ParseDWord(std::string_view text, std::size_t& pos) {
    std::uint32_t number = 0;
    std::size_t digits = 0;
    for (; pos < text.size() && HexDigitValue(text[pos]) >= 0; ++pos, ++digits) {
        number = number << 4 | static_cast<std::uint32_t>(HexDigitValue(text[pos]));
    }
    return digits >= 1 && digits <= 8 ? std::optional(number) : std::nullopt;
}

std::optional<std::string> ParseHexBytes(std::string_view text, std::size_t& pos) {
    std::string bytes;
    SkipBlanks(text, pos);
    while (pos + 1 < text.size() && HexDigitValue(text[pos]) >= 0 &&
           HexDigitValue(text[pos + 1]) >= 0) {
        bytes += static_cast<char>(HexDigitValue(text[pos]) * 16 + HexDigitValue(text[pos + 1]));
        pos += 2;
        SkipBlanks(text, pos);
        if (pos >= text.size() || text[pos] != ',') {
            return bytes;
        }
        ++pos;
        SkipBlanks(text, pos);
    }
    // Nothing at all is an empty value; a trailing comma or a stray digit is broken.
    return bytes.empty() ? std::optional(bytes) : std::nullopt;
}

std::optional<RegistryValue> ParseValue(std::string_view text) {
    RegistryValue value;
    std::size_t pos = 0;
    if (text.starts_with('@')) {
        pos = 1;
    } else if (auto name = ParseRegistryString(text, pos)) {
        value.Name = std::move(*name);
    } else {
        return std::nullopt;
    }
    SkipBlanks(text, pos);
    if (pos >= text.size() || text[pos++] != '=') {
        return std::nullopt;
    }
    SkipBlanks(text, pos);
    if (auto bytes = ParseRegistryString(text, pos)) {
        value.Type = RegistryDataType::String;
        value.Bytes = std::move(*bytes);
    } else if (TakeWord(text, pos, "dword:")) {
        const auto number = ParseDWord(text, pos);
        if (!number) {
            return std::nullopt;
        }
        value.Type = RegistryDataType::DWord;
        value.Number = *number;
    } else if (TakeWord(text, pos, "hex:")) {
        auto bytes = ParseHexBytes(text, pos);
        if (!bytes) {
            return std::nullopt;
        }
        value.Type = RegistryDataType::Binary;
        value.Bytes = std::move(*bytes);
    } else {
        return std::nullopt;
    }
    SkipBlanks(text, pos);
    return pos == text.size() ? std::optional(std::move(value)) : std::nullopt;
}

std::string FormatData(const RegistryValue& value) {
    switch (value.Type) {
    case RegistryDataType::String:
        return QuoteRegistryString(value.Bytes);
    case RegistryDataType::DWord: {
        char digits[9];
        std::snprintf(digits, sizeof digits, "%08x", static_cast<unsigned>(value.Number));
        return std::string("dword:") + digits;
    }
    case RegistryDataType::Binary: {
        std::string out = "hex:";
        for (std::size_t i = 0; i < value.Bytes.size(); ++i) {
            char digits[4];
            std::snprintf(digits, sizeof digits, i == 0 ? "%02x" : ",%02x",
                          static_cast<unsigned char>(value.Bytes[i]));
            out += digits;
        }
        return out;
    }
    }
    return {};
}
} // namespace

RegistryKeyPath SplitKeyPath(std::string_view key) {
    RegistryKeyPath path;
    for (const std::string_view part : SplitSkippingEmpty(key, '\\')) {
        path.emplace_back(part);
    }
    return path;
}

bool SameRegistryName(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](char x, char y) { return AsciiLower(x) == AsciiLower(y); });
}

RegistryDocument RegistryDocument::Parse(std::string_view text) {
    if (text.starts_with("\xEF\xBB\xBF")) { // a byte-order mark left by an editor
        text.remove_prefix(3);
    }
    RegistryDocument document;
    std::size_t start = 0;
    while (start < text.size()) {
        const std::size_t end = std::min(text.find('\n', start), text.size());
        document.lines_.push_back(ParseLine(text.substr(start, end - start)));
        start = end + 1;
    }
    return document;
}

RegistryDocument::Line RegistryDocument::ParseLine(std::string_view raw) {
    Line line;
    line.Raw = std::string(raw);
    const std::string_view text = Trimmed(raw);
    if (text.starts_with('[')) {
        auto path = ParseKeyHeader(text);
        line.Kind = path ? LineKind::Key : LineKind::BrokenKey;
        line.Path = path.value_or(RegistryKeyPath{});
    } else if (!text.empty() && !text.starts_with('#') && !text.starts_with(';')) {
        if (auto value = ParseValue(text)) {
            line.Kind = LineKind::Value;
            line.Value = std::move(*value);
        }
    }
    return line;
}

RegistryDocument::Line RegistryDocument::ValueLine(const RegistryValue& value) {
    Line line;
    line.Kind = LineKind::Value;
    line.Value = value;
    line.Raw = (value.Name.empty() ? std::string("@") : QuoteRegistryString(value.Name)) + "=" +
               FormatData(value);
    return line;
}

std::string RegistryDocument::Text() const {
    std::string text;
    for (const Line& line : lines_) {
        text += line.Raw;
        text += '\n';
    }
    return text;
}

bool RegistryDocument::HasKey(const RegistryKeyPath& path) const {
    return path.empty() || std::any_of(lines_.begin(), lines_.end(), [&](const Line& line) {
               return line.Kind == LineKind::Key && StartsWithPath(line.Path, path);
           });
}

bool RegistryDocument::HasSection(const RegistryKeyPath& path) const {
    return FirstSection(path).has_value();
}

std::optional<std::size_t> RegistryDocument::FirstSection(const RegistryKeyPath& path) const {
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        if (lines_[i].Kind == LineKind::Key && SamePath(lines_[i].Path, path)) {
            return i;
        }
    }
    return std::nullopt;
}

std::size_t RegistryDocument::EndOfSection(std::size_t header) const {
    std::size_t end = header + 1;
    std::size_t afterLastValue = end;
    for (; end < lines_.size(); ++end) {
        const LineKind kind = lines_[end].Kind;
        if (kind == LineKind::Key || kind == LineKind::BrokenKey) {
            break;
        }
        if (kind == LineKind::Value) {
            afterLastValue = end + 1;
        }
    }
    return afterLastValue;
}

// Indices of the value lines in the key's sections; every value when name is nullopt.
std::vector<std::size_t> RegistryDocument::ValueLines(const RegistryKeyPath& path,
                                                      std::optional<std::string_view> name) const {
    std::vector<std::size_t> found;
    bool inKey = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line& line = lines_[i];
        if (line.Kind == LineKind::Key) {
            inKey = SamePath(line.Path, path);
        } else if (line.Kind == LineKind::BrokenKey) {
            inKey = false;
        } else if (line.Kind == LineKind::Value && inKey &&
                   (!name || SameRegistryName(line.Value.Name, *name))) {
            found.push_back(i);
        }
    }
    return found;
}

std::optional<RegistryValue> RegistryDocument::FindValue(const RegistryKeyPath& path,
                                                         std::string_view name) const {
    const auto found = ValueLines(path, name);
    return found.empty() ? std::nullopt : std::optional(lines_[found.front()].Value);
}

std::vector<RegistryValue> RegistryDocument::Values(const RegistryKeyPath& path) const {
    std::vector<RegistryValue> values;
    for (const std::size_t i : ValueLines(path, std::nullopt)) {
        const bool shadowed = std::any_of(values.begin(), values.end(), [&](const auto& v) {
            return SameRegistryName(v.Name, lines_[i].Value.Name);
        });
        if (!shadowed) {
            values.push_back(lines_[i].Value);
        }
    }
    return values;
}

void RegistryDocument::AppendComment(const std::string& text) {
    Line line;
    line.Raw = "# " + text;
    lines_.push_back(std::move(line));
}

bool RegistryDocument::AddKey(const RegistryKeyPath& path) {
    if (HasKey(path)) {
        return false;
    }
    AppendSection(path);
    return true;
}

void RegistryDocument::AppendSection(const RegistryKeyPath& path) {
    if (!lines_.empty() && !Trimmed(lines_.back().Raw).empty()) {
        lines_.emplace_back(); // a blank line between sections
    }
    Line header;
    header.Kind = LineKind::Key;
    header.Path = path;
    header.Raw = FormatKeyHeader(path);
    lines_.push_back(std::move(header));
}

void RegistryDocument::SetValue(const RegistryKeyPath& path, const RegistryValue& value) {
    const auto found = ValueLines(path, value.Name);
    if (!found.empty()) {
        RegistryValue renamed = value;
        renamed.Name = lines_[found.front()].Value.Name;
        lines_[found.front()] = ValueLine(renamed);
        for (auto i = found.rbegin(); i + 1 != found.rend(); ++i) {
            lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*i));
        }
        return;
    }
    auto header = FirstSection(path);
    if (!header) {
        AppendSection(path);
        header = lines_.size() - 1;
    }
    lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(EndOfSection(*header)),
                  ValueLine(value));
}

bool RegistryDocument::DeleteValue(const RegistryKeyPath& path, std::string_view name) {
    const auto found = ValueLines(path, name);
    for (auto i = found.rbegin(); i != found.rend(); ++i) {
        lines_.erase(lines_.begin() + static_cast<std::ptrdiff_t>(*i));
    }
    return !found.empty();
}

} // namespace quarn
