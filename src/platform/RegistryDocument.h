#pragma once

#include "platform/Registry.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

using RegistryKeyPath = std::vector<std::string>;

// A key path split at "\"; empty parts (leading, trailing or doubled "\") are dropped.
RegistryKeyPath SplitKeyPath(std::string_view key);
// ASCII case-insensitive equality, as key and value names compare.
bool SameRegistryName(std::string_view a, std::string_view b);

struct RegistryValue {
    std::string Name;
    RegistryDataType Type = RegistryDataType::String;
    std::string Bytes;        // String and Binary
    std::uint32_t Number = 0; // DWord
};

// One root's text file as lines. A "[path]" header starts a key's section; below it each
// line "name"=data holds a value (the name @ is the key's default value). Blank lines,
// comments ("#" or ";") and lines that do not parse are kept verbatim and never read;
// the values under a broken header belong to no key. A change rewrites only the lines of
// its own value, so everything else in the file stays as it was.
class RegistryDocument {
public:
    static RegistryDocument Parse(std::string_view text);
    std::string Text() const;

    // A section of the key or of a key below it.
    bool HasKey(const RegistryKeyPath& path) const;
    // A section of the key itself.
    bool HasSection(const RegistryKeyPath& path) const;
    // The first value of that name in the key's sections.
    std::optional<RegistryValue> FindValue(const RegistryKeyPath& path,
                                           std::string_view name) const;
    std::vector<RegistryValue> Values(const RegistryKeyPath& path) const;

    void AppendComment(const std::string& text);
    // Adds a section unless the key exists; says whether it did.
    bool AddKey(const RegistryKeyPath& path);
    // Replaces the value (keeping the spelling of its name) or adds it to the key's first
    // section, which is added when there is none.
    void SetValue(const RegistryKeyPath& path, const RegistryValue& value);
    // Removes every line of that value; says whether there was one.
    bool DeleteValue(const RegistryKeyPath& path, std::string_view name);

private:
    enum class LineKind { Other, Key, BrokenKey, Value };
    struct Line {
        LineKind Kind = LineKind::Other;
        std::string Raw;
        RegistryKeyPath Path; // Key
        RegistryValue Value;  // Value
    };

    static Line ParseLine(std::string_view raw);
    static Line ValueLine(const RegistryValue& value);
    std::vector<std::size_t> ValueLines(const RegistryKeyPath& path,
                                        std::optional<std::string_view> name) const;
    void AppendSection(const RegistryKeyPath& path);
    std::optional<std::size_t> FirstSection(const RegistryKeyPath& path) const;
    std::size_t EndOfSection(std::size_t header) const;

    std::vector<Line> lines_;
};

} // namespace quarn
