// Items keep what they were made with, and bytes that are not one of our items are refused.
#include "namespace/ItemCodec.h"

#include <gtest/gtest.h>
#include <limits>

namespace quarn {
namespace {

std::optional<Item> Decode(const std::string& bytes) {
    return DecodeItem({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

constexpr std::size_t EntryHeaderSize = 42;

TEST(ItemCodec, EntriesRoundTrip) {
    EntryItem entry;
    entry.kind = EntryItemKind::LinkToFolder;
    entry.flags = EntryHidden | EntryReadOnly;
    entry.mode = 0120777;
    entry.size = 5'000'000'000;
    entry.modified = {-2, 999'999'999}; // before the epoch
    entry.born = {1'700'000'000, 123'456'789};
    const std::string name = std::string("\xff::*?") + std::string(250, 'n');
    entry.name = name;
    const std::string bytes = EncodeItem(entry);
    EXPECT_EQ(bytes.size(), EntryHeaderSize + name.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8),
              static_cast<int>(bytes.size()));
    const auto decoded = Decode(bytes);
    ASSERT_TRUE(decoded);
    const auto& back = std::get<EntryItem>(*decoded);
    EXPECT_EQ(back.kind, entry.kind);
    EXPECT_EQ(back.flags, entry.flags);
    EXPECT_EQ(back.mode, entry.mode);
    EXPECT_EQ(back.size, entry.size);
    EXPECT_EQ(back.modified, entry.modified);
    EXPECT_EQ(back.born, entry.born);
    EXPECT_EQ(back.name, name);
}

TEST(ItemCodec, EveryTimeTheKernelCanGiveRoundTrips) {
    const FileTime times[] = {
        {10'413'792'000, 0},                                     // 2300-01-01
        {std::numeric_limits<std::int64_t>::max(), 999'999'999}, // the last
        {std::numeric_limits<std::int64_t>::min(), 0},           // the first
        {9'223'372'037, 0}, // just past what 64-bit nanoseconds hold
    };
    for (const FileTime& time : times) {
        EntryItem entry;
        entry.name = "f";
        entry.modified = time;
        entry.born = time;
        const std::string bytes = EncodeItem(entry);
        const auto decoded = Decode(bytes);
        ASSERT_TRUE(decoded) << time.seconds;
        EXPECT_EQ(std::get<EntryItem>(*decoded).modified, time);
        EXPECT_EQ(std::get<EntryItem>(*decoded).born, time);
    }
}

// An entry as earlier builds wrote it into drag data: tag 'F', times in 64-bit nanoseconds.
std::string NanosecondEntry(std::int64_t modified, std::int64_t born, const std::string& name) {
    std::string bytes = {0, 0, 'F', 1, EntryHidden, 0};
    const auto put = [&](std::uint64_t value, int size) {
        for (int i = 0; i < size; ++i) {
            bytes.push_back(static_cast<char>(value >> (8 * i)));
        }
    };
    put(0100644, 4);
    put(1234, 8);
    put(static_cast<std::uint64_t>(modified), 8);
    put(static_cast<std::uint64_t>(born), 8);
    bytes += name;
    bytes[0] = static_cast<char>(bytes.size());
    return bytes;
}

TEST(ItemCodec, EntriesOfEarlierBuildsStillRead) {
    const std::string bytes = NanosecondEntry(-1'000'000'001, 1'700'000'000'123'456'789, "old.txt");
    const auto decoded = Decode(bytes);
    ASSERT_TRUE(decoded);
    const auto& entry = std::get<EntryItem>(*decoded);
    EXPECT_EQ(entry.kind, EntryItemKind::File);
    EXPECT_EQ(entry.flags, EntryHidden);
    EXPECT_EQ(entry.mode, 0100644u);
    EXPECT_EQ(entry.size, 1234u);
    EXPECT_EQ(entry.modified, (FileTime{-2, 999'999'999}));
    EXPECT_EQ(entry.born, (FileTime{1'700'000'000, 123'456'789}));
    EXPECT_EQ(entry.name, "old.txt");
    EXPECT_FALSE(Decode(bytes.substr(0, 33) + "x")) << "too short for its header";
}

TEST(ItemCodec, OtherItemsRoundTrip) {
    // Decoded items view the bytes, which must outlive them.
    const std::string volumeBytes = EncodeItem(VolumeItem{DriveType::CdRom, "/mnt/c d"});
    const std::string trashBytes = EncodeItem(TrashItem{true, "x.2", "/home/me/x"});
    const auto volume = Decode(volumeBytes);
    ASSERT_TRUE(volume);
    EXPECT_EQ(std::get<VolumeItem>(*volume).mountPoint, "/mnt/c d");
    EXPECT_EQ(std::get<VolumeItem>(*volume).driveType, DriveType::CdRom);
    const auto trash = Decode(trashBytes);
    ASSERT_TRUE(trash);
    EXPECT_EQ(std::get<TrashItem>(*trash).DisplayName(), "x");
    const auto root = Decode(EncodeItem(RootItem{RootKind::Trash}));
    ASSERT_TRUE(root);
    EXPECT_EQ(std::get<RootItem>(*root).kind, RootKind::Trash);
}

TEST(ItemCodec, ForeignAndDamagedBytesAreRefused) {
    EntryItem entry;
    entry.name = "ok";
    const std::string good = EncodeItem(entry);
    auto withName = [&](const std::string& name) {
        std::string bytes = good.substr(0, EntryHeaderSize) + name;
        bytes[0] = static_cast<char>(bytes.size());
        return bytes;
    };
    std::string badKind = good;
    badKind[3] = 9;
    std::string badNanoseconds = good;
    badNanoseconds[29] = static_cast<char>(0xFF); // modification nanoseconds past 999,999,999
    const std::string cases[] = {
        "",
        std::string("\x03\x00", 2),
        std::string("\x04\x00Z\x01", 4),
        good.substr(0, 20),
        withName(""),
        withName("."),
        withName(".."),
        withName("a/b"),
        withName(std::string("a\0b", 3)),
        withName(std::string(256, 'n')),
        badKind,
        badNanoseconds,
        std::string("\x04\x00R\x07", 4),
        std::string("\x05\x00R\x01\x01", 5),
        EncodeItem(VolumeItem{DriveType::Fixed, "relative"}),
    };
    for (const auto& bytes : cases) {
        EXPECT_FALSE(Decode(bytes)) << testing::PrintToString(bytes);
    }
}

} // namespace
} // namespace quarn
