#include "namespace/ItemCodec.h"

#include <climits>

namespace quarn {

namespace {

constexpr std::uint8_t RootTag = 'R';
constexpr std::uint8_t VolumeTag = 'V';
constexpr std::uint8_t EntryTag = 'E';
constexpr std::uint8_t NanosecondEntryTag = 'F'; // times in nanoseconds, by earlier builds
constexpr std::uint8_t TrashTag = 'T';

constexpr std::size_t EntryHeaderSize = 42;
constexpr std::size_t NanosecondEntryHeaderSize = 34;
constexpr std::size_t MaxItemSize = 0xFFFF;

class Writer {
public:
    explicit Writer(std::uint8_t tag) {
        bytes_.reserve(64);
        bytes_.assign(2, '\0');
        Put(tag);
    }
    void Put(std::uint8_t byte) { bytes_.push_back(static_cast<char>(byte)); }
    template <typename T> void PutNumber(T value) {
        auto bits = static_cast<std::uint64_t>(value);
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            Put(static_cast<std::uint8_t>(bits >> (8 * i)));
        }
    }
    void PutBytes(std::string_view bytes) { bytes_.append(bytes); }
    // The item, its byte count written in; empty when it would not fit one.
    std::string Finish() {
        if (bytes_.size() > MaxItemSize) {
            return {};
        }
        bytes_[0] = static_cast<char>(bytes_.size() & 0xFF);
        bytes_[1] = static_cast<char>(bytes_.size() >> 8);
        return std::move(bytes_);
    }

private:
    std::string bytes_;
};

class Reader {
public:
    explicit Reader(std::span<const std::uint8_t> item) : item_(item) {}
    bool Has(std::size_t count) const { return item_.size() - offset_ >= count; }
    std::uint8_t Get() { return item_[offset_++]; }
    template <typename T> T GetNumber() {
        std::uint64_t bits = 0;
        for (std::size_t i = 0; i < sizeof(T); ++i) {
            bits |= static_cast<std::uint64_t>(Get()) << (8 * i);
        }
        return static_cast<T>(bits);
    }
    std::string_view GetBytes(std::size_t count) {
        std::string_view bytes(reinterpret_cast<const char*>(item_.data()) + offset_, count);
        offset_ += count;
        return bytes;
    }
    std::string_view Rest() { return GetBytes(item_.size() - offset_); }

private:
    std::span<const std::uint8_t> item_;
    std::size_t offset_ = 3; // byte count and tag
};

bool IsAbsolutePath(std::string_view path) {
    return !path.empty() && path.front() == '/' && path.size() < PATH_MAX &&
           path.find('\0') == std::string_view::npos;
}

std::optional<Item> DecodeRoot(Reader& in) {
    if (!in.Has(1)) {
        return std::nullopt;
    }
    const std::uint8_t kind = in.Get();
    if (kind < 1 || kind > 3 || in.Has(1)) {
        return std::nullopt;
    }
    return RootItem{static_cast<RootKind>(kind)};
}

std::optional<Item> DecodeVolume(Reader& in) {
    if (!in.Has(1)) {
        return std::nullopt;
    }
    const std::uint8_t driveType = in.Get();
    const std::string_view mountPoint = in.Rest();
    if (driveType > static_cast<std::uint8_t>(DriveType::RamDisk) || !IsAbsolutePath(mountPoint)) {
        return std::nullopt;
    }
    return VolumeItem{static_cast<DriveType>(driveType), mountPoint};
}

FileTime GetTime(Reader& in) {
    FileTime time;
    time.seconds = in.GetNumber<std::int64_t>();
    time.nanoseconds = in.GetNumber<std::uint32_t>();
    return time;
}

bool IsWellFormed(const FileTime& time) {
    return time.nanoseconds < 1'000'000'000;
}

// Entries written by earlier builds kept their times as 64-bit nanoseconds; drag data and
// lists of such a build still read.
std::optional<Item> DecodeEntry(Reader& in, bool nanosecondTimes) {
    if (!in.Has((nanosecondTimes ? NanosecondEntryHeaderSize : EntryHeaderSize) - 3)) {
        return std::nullopt;
    }
    EntryItem entry;
    const std::uint8_t kind = in.Get();
    entry.flags = in.Get();
    in.Get(); // reserved
    entry.mode = in.GetNumber<std::uint32_t>();
    entry.size = in.GetNumber<std::uint64_t>();
    if (nanosecondTimes) {
        entry.modified = FileTimeFromNanoseconds(in.GetNumber<std::int64_t>());
        entry.born = FileTimeFromNanoseconds(in.GetNumber<std::int64_t>());
    } else {
        entry.modified = GetTime(in);
        entry.born = GetTime(in);
    }
    entry.name = in.Rest();
    if (kind < 1 || kind > static_cast<std::uint8_t>(EntryItemKind::Other) ||
        !IsWellFormed(entry.modified) || !IsWellFormed(entry.born) || !IsEntryName(entry.name)) {
        return std::nullopt;
    }
    entry.kind = static_cast<EntryItemKind>(kind);
    return entry;
}

std::optional<Item> DecodeTrash(Reader& in) {
    if (!in.Has(2)) {
        return std::nullopt;
    }
    TrashItem trash;
    trash.folder = in.Get() != 0;
    const std::size_t nameSize = in.Get();
    if (!in.Has(nameSize)) {
        return std::nullopt;
    }
    trash.trashName = in.GetBytes(nameSize);
    trash.originalPath = in.Rest();
    if (!IsEntryName(trash.trashName)) {
        return std::nullopt;
    }
    return trash;
}

} // namespace

std::string_view TrashItem::DisplayName() const {
    const auto slash = originalPath.find_last_of('/');
    const std::string_view base =
        slash == std::string_view::npos ? originalPath : originalPath.substr(slash + 1);
    return base.empty() ? trashName : base;
}

bool IsEntryName(std::string_view name) {
    return !name.empty() && name.size() <= NAME_MAX && name != "." && name != ".." &&
           name.find_first_of(std::string_view("/\0", 2)) == std::string_view::npos;
}

std::optional<Item> DecodeItem(std::span<const std::uint8_t> item) {
    if (item.size() < 3) {
        return std::nullopt;
    }
    Reader in(item);
    switch (item[2]) {
    case RootTag:
        return DecodeRoot(in);
    case VolumeTag:
        return DecodeVolume(in);
    case EntryTag:
        return DecodeEntry(in, false);
    case NanosecondEntryTag:
        return DecodeEntry(in, true);
    case TrashTag:
        return DecodeTrash(in);
    default:
        return std::nullopt;
    }
}

std::string EncodeItem(const RootItem& item) {
    Writer out(RootTag);
    out.Put(static_cast<std::uint8_t>(item.kind));
    return out.Finish();
}

std::string EncodeItem(const VolumeItem& item) {
    Writer out(VolumeTag);
    out.Put(static_cast<std::uint8_t>(item.driveType));
    out.PutBytes(item.mountPoint);
    return out.Finish();
}

std::string EncodeItem(const EntryItem& item) {
    Writer out(EntryTag);
    out.Put(static_cast<std::uint8_t>(item.kind));
    out.Put(item.flags);
    out.Put(0);
    out.PutNumber(item.mode);
    out.PutNumber(item.size);
    for (const FileTime& time : {item.modified, item.born}) {
        out.PutNumber(time.seconds);
        out.PutNumber(time.nanoseconds);
    }
    out.PutBytes(item.name);
    return out.Finish();
}

std::string EncodeItem(const TrashItem& item) {
    Writer out(TrashTag);
    out.Put(item.folder ? 1 : 0);
    out.Put(static_cast<std::uint8_t>(item.trashName.size()));
    out.PutBytes(item.trashName);
    out.PutBytes(item.originalPath);
    return out.Finish();
}

} // namespace quarn
