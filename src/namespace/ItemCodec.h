#pragma once

#include "namespace/FileTime.h"
#include "namespace/ShellConstants.h"

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <variant>

namespace quarn {

// The items of our namespace, as they are stored in item-ID lists. Every item starts with
// its byte count and a tag byte; the layouts are in docs/namespace.md.

// The desktop's three children.
enum class RootKind : std::uint8_t { Home = 1, Computer = 2, Trash = 3 };
struct RootItem {
    RootKind kind;
};

// A mounted volume, a child of Computer.
struct VolumeItem {
    DriveType driveType;
    std::string_view mountPoint;
};

enum class EntryItemKind : std::uint8_t {
    File = 1,
    Folder = 2,
    LinkToFolder = 3,
    LinkToFile = 4,
    DanglingLink = 5,
    Other = 6, // fifo, socket, device
};
inline constexpr std::uint8_t EntryHidden = 0x1;
inline constexpr std::uint8_t EntryReadOnly = 0x2;

// A file-system entry, a child of Home, of a volume or of another folder.
struct EntryItem {
    EntryItemKind kind = EntryItemKind::File;
    std::uint8_t flags = 0;
    std::uint32_t mode = 0;
    std::uint64_t size = 0;
    FileTime modified;
    FileTime born;         // zero when the file system does not know it
    std::string_view name; // raw bytes

    bool IsFolder() const {
        return kind == EntryItemKind::Folder || kind == EntryItemKind::LinkToFolder;
    }
    bool IsLink() const {
        return kind == EntryItemKind::LinkToFolder || kind == EntryItemKind::LinkToFile ||
               kind == EntryItemKind::DanglingLink;
    }
};

// An entry of the trash: its name in the trash's "files" folder and where it came from.
struct TrashItem {
    bool folder = false;
    std::string_view trashName;
    std::string_view originalPath;

    std::string_view DisplayName() const;
};

using Item = std::variant<RootItem, VolumeItem, EntryItem, TrashItem>;

// One handler per kind of item, for std::visit.
template <typename... Handlers> struct Overloaded : Handlers... { using Handlers::operator()...; };
template <typename... Handlers> Overloaded(Handlers...) -> Overloaded<Handlers...>;

// item: one item with its byte count. Nothing when the bytes are not one of ours.
std::optional<Item> DecodeItem(std::span<const std::uint8_t> item);

std::string EncodeItem(const RootItem& item);
std::string EncodeItem(const VolumeItem& item);
std::string EncodeItem(const EntryItem& item);
std::string EncodeItem(const TrashItem& item);

// A name that an entry can carry: 1 to 255 bytes, no "/" or NUL, not "." or "..".
bool IsEntryName(std::string_view name);

} // namespace quarn
