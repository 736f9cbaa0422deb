// Items keep what they were made with, and bytes that are not one of our items are refused.
#include "namespace/ItemCodec.h"

#include <gtest/gtest.h>

namespace quarn {
namespace {

std::optional<Item> Decode(const std::string& bytes) {
    return DecodeItem({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()});
}

TEST(ItemCodec, EntriesRoundTrip) {
    EntryItem entry;
    entry.kind = EntryItemKind::LinkToFolder;
    entry.flags = EntryHidden | EntryReadOnly;
    entry.mode = 0120777;
    entry.size = 5'000'000'000;
    entry.modifiedNs = -1'000'000'001; // before the epoch
    entry.bornNs = 1'700'000'000'123'456'789;
    const std::string name = std::string("\xff::*?") + std::string(250, 'n');
    entry.name = name;
    const std::string bytes = EncodeItem(entry);
    EXPECT_EQ(bytes.size(), 34 + name.size());
    EXPECT_EQ(static_cast<unsigned char>(bytes[0]) | (static_cast<unsigned char>(bytes[1]) << 8),
              static_cast<int>(bytes.size()));
    const auto decoded = Decode(bytes);
    ASSERT_TRUE(decoded);
    const auto& back = std::get<EntryItem>(*decoded);
    EXPECT_EQ(back.kind, entry.kind);
    EXPECT_EQ(back.flags, entry.flags);
    EXPECT_EQ(back.mode, entry.mode);
    EXPECT_EQ(back.size, entry.size);
    EXPECT_EQ(back.modifiedNs, entry.modifiedNs);
    EXPECT_EQ(back.bornNs, entry.bornNs);
    EXPECT_EQ(back.name, name);
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
        std::string bytes = good.substr(0, 34) + name;
        bytes[0] = static_cast<char>(bytes.size());
        return bytes;
    };
    std::string badKind = good;
    badKind[3] = 9;
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
