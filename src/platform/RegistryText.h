#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// The escapes of the registry's text files. Quoted strings (value names and texts) escape
// \\ \" \r \n \t and write every other control byte, and every byte that is not part of
// valid UTF-8, as \xHH. Key names in a "[...]" header are written between "\" separators,
// with the same bytes and "%" itself as %HH.

std::string QuoteRegistryString(std::string_view bytes);
// Parses the quoted string that starts at text[pos] (a '"'); on success pos is moved past
// its closing quote.
std::optional<std::string> ParseRegistryString(std::string_view text, std::size_t& pos);

std::string FormatKeyHeader(const std::vector<std::string>& path);
// The path of a "[...]" header line (already trimmed), or nothing when it is broken.
std::optional<std::vector<std::string>> ParseKeyHeader(std::string_view line);

// Length of the valid UTF-8 sequence at text[pos], or 0 when the byte there starts none.
std::size_t Utf8SequenceLength(std::string_view text, std::size_t pos);

} // namespace quarn
