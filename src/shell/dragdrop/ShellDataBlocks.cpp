#include "shell/dragdrop/ShellDataBlocks.h"

#include "platform/PathLimits.h"

#include <climits>
#include <cstdint>

namespace quarn {

namespace {

constexpr std::uint32_t HDropHeaderSize = 20;
// The most levels a list of a path within PATH_MAX can have: the desktop's child and a volume,
// then one name of at least one byte and its "/" for every two bytes.
constexpr std::size_t MaxListLevels = 2 + PATH_MAX / 2;
// An item's count covers its own two bytes and at least one byte of content.
constexpr std::uint16_t SmallestItem = 3;

void AppendUint32(std::string& block, std::uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        block.push_back(static_cast<char>((value >> shift) & 0xFF));
    }
}

std::uint32_t ReadUint32(std::string_view block, std::size_t offset) {
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i) {
        value = (value << 8) | static_cast<std::uint8_t>(block[offset + i]);
    }
    return value;
}

std::string_view ListOrEmpty(LPCITEMIDLIST list) {
    static constexpr char Empty[2] = {0, 0};
    if (list == nullptr) {
        return {Empty, 2};
    }
    return {reinterpret_cast<const char*>(list), ListSize(list)};
}

// The list that starts at offset, with its terminator, when it ends inside the block and is
// no deeper than a list of a path can be.
std::optional<std::string> ListAt(std::string_view block, std::uint32_t offset) {
    std::size_t position = offset;
    for (std::size_t levels = 0; position + 2 <= block.size() && levels <= MaxListLevels;
         ++levels) {
        const auto size =
            static_cast<std::uint16_t>(static_cast<std::uint8_t>(block[position]) |
                                       static_cast<std::uint8_t>(block[position + 1]) << 8);
        if (size == 0) {
            return std::string(block.substr(offset, position + 2 - offset));
        }
        if (size < SmallestItem || size > block.size() - position) {
            return std::nullopt;
        }
        position += size;
    }
    return std::nullopt;
}

} // namespace

std::string BuildShellIdListBlock(LPCITEMIDLIST parent,
                                  const std::vector<LPCITEMIDLIST>& children) {
    const auto count = static_cast<std::uint32_t>(children.size());
    std::string lists(ListOrEmpty(parent));
    std::vector<std::uint32_t> offsets;
    const std::uint32_t parentOffset = 8 + 4 * count;
    for (const LPCITEMIDLIST child : children) {
        offsets.push_back(parentOffset + static_cast<std::uint32_t>(lists.size()));
        lists += ListOrEmpty(child);
    }
    std::string block;
    block.reserve(parentOffset + lists.size());
    AppendUint32(block, count);
    AppendUint32(block, parentOffset);
    for (const std::uint32_t offset : offsets) {
        AppendUint32(block, offset);
    }
    return block + lists;
}

std::optional<ShellIdListItems> ParseShellIdListBlock(std::string_view block) {
    if (block.size() < 8) {
        return std::nullopt;
    }
    const std::uint64_t count = ReadUint32(block, 0);
    if (8 + 4 * count > block.size()) {
        return std::nullopt;
    }
    auto parent = ListAt(block, ReadUint32(block, 4));
    if (!parent) {
        return std::nullopt;
    }
    ShellIdListItems items{std::move(*parent), {}};
    for (std::size_t i = 0; i < count; ++i) {
        auto child = ListAt(block, ReadUint32(block, 8 + 4 * i));
        if (!child) {
            return std::nullopt;
        }
        items.children.push_back(std::move(*child));
    }
    return items;
}

std::string BuildHDropBlock(const std::vector<std::string>& paths) {
    std::string block;
    AppendUint32(block, HDropHeaderSize);
    for (int field = 0; field < 4; ++field) { // pt.x, pt.y, fNC, fWide
        AppendUint32(block, 0);
    }
    for (const std::string& path : paths) {
        block += path;
        block.push_back('\0');
    }
    block.push_back('\0');
    return block;
}

std::optional<std::vector<std::string>> ParseHDropBlock(std::string_view block) {
    if (block.size() < HDropHeaderSize + 1 || ReadUint32(block, 16) != 0) {
        return std::nullopt;
    }
    std::size_t position = ReadUint32(block, 0);
    std::vector<std::string> paths;
    while (position < block.size()) {
        const std::size_t end = block.find('\0', position);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        if (end == position) {
            return paths;
        }
        if (!WithinPathLimits(block.substr(position, end - position))) {
            return std::nullopt;
        }
        paths.emplace_back(block.substr(position, end - position));
        position = end + 1;
    }
    return std::nullopt;
}

} // namespace quarn
