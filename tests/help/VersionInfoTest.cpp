#include "platform/VersionInfo.h"

#include "CaseNames.h"
#include "TestFiles.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <string>

namespace quarn {
namespace {

using test::TempDir;
using test::WriteFileBytes;

constexpr std::uint32_t ProjectMS = QUARN_VERSION_MAJOR << 16 | QUARN_VERSION_MINOR;
constexpr std::uint32_t ProjectLS = QUARN_VERSION_RELEASE << 16 | QUARN_VERSION_BUILD;

// A small ELF file with three sections: none, the one named, and the section names.
struct ElfSpec {
    bool wide = true;
    bool bigEndian = false;
    std::string sectionName = VersionSectionName;
    std::string payload;
};

class ElfWriter {
public:
    explicit ElfWriter(const ElfSpec& spec) : spec_(spec) {}

    std::string Build() {
        const std::size_t headerSize = spec_.wide ? 64 : 52;
        const std::string names =
            std::string(1, '\0') + spec_.sectionName + '\0' + ".shstrtab" + '\0';
        const std::size_t payloadAt = headerSize;
        const std::size_t namesAt = payloadAt + spec_.payload.size();
        const std::size_t tableAt = namesAt + names.size();
        const std::size_t entrySize = spec_.wide ? 64 : 40;

        out_ = "\x7F"
               "ELF";
        out_ += static_cast<char>(spec_.wide ? 2 : 1);
        out_ += static_cast<char>(spec_.bigEndian ? 2 : 1);
        out_ += std::string(1, 1) + std::string(9, '\0');
        Put(1, 2); // relocatable
        Put(62, 2);
        Put(1, 4);
        Put(0, Address()); // entry
        Put(0, Address()); // program headers
        Put(tableAt, Address());
        Put(0, 4);
        Put(headerSize, 2);
        Put(0, 2);
        Put(0, 2);
        Put(entrySize, 2);
        Put(3, 2); // sections
        Put(2, 2); // names section
        out_ += spec_.payload + names;
        Section(0, 0, 0, 0, entrySize);
        Section(1, 1, payloadAt, spec_.payload.size(), entrySize);
        Section(1 + spec_.sectionName.size() + 1, 3, namesAt, names.size(), entrySize);
        return out_;
    }

private:
    std::size_t Address() const { return spec_.wide ? 8 : 4; }

    void Put(std::uint64_t value, std::size_t width) {
        for (std::size_t i = 0; i < width; ++i) {
            const std::size_t shift = 8 * (spec_.bigEndian ? width - 1 - i : i);
            out_ += static_cast<char>(value >> shift & 0xFF);
        }
    }

    void Section(std::uint32_t name, std::uint32_t type, std::uint64_t offset, std::uint64_t size,
                 std::size_t entrySize) {
        const std::size_t start = out_.size();
        Put(name, 4);
        Put(type, 4);
        Put(0, Address()); // flags
        Put(0, Address()); // address
        Put(offset, Address());
        Put(size, Address());
        Put(0, 4); // link
        Put(0, 4); // info
        out_.resize(start + entrySize, '\0');
    }

    const ElfSpec& spec_;
    std::string out_;
};

std::string Record(bool bigEndian, std::uint32_t signature = FixedFileInfoSignature) {
    const std::uint32_t words[13] = {
        signature, 0x10000, 0x00020001, 0x00000025, 0x00020001, 0x00000025, 0x3F, 0, 0, 1, 0, 0, 0};
    std::string bytes;
    for (std::uint32_t word : words) {
        for (int i = 0; i < 4; ++i) {
            const int shift = 8 * (bigEndian ? 3 - i : i);
            bytes += static_cast<char>(word >> shift & 0xFF);
        }
    }
    return bytes;
}

TEST(ReadFixedFileInfo, BuiltFilesCarryTheProjectVersion) {
    std::vector<std::string> files = {QUARN_HTMLHELP_PATH, QUARN_REGISTER_PATH};
#ifdef QUARN_CLU_PATH
    files.push_back(QUARN_CLU_PATH);
#endif
    for (const std::string& file : files) {
        SCOPED_TRACE(file);
        const auto info = ReadFixedFileInfo(file);
        ASSERT_TRUE(info.has_value());
        EXPECT_EQ(info->signature, FixedFileInfoSignature);
        EXPECT_EQ(info->fileVersionMS, ProjectMS);
        EXPECT_EQ(info->fileVersionLS, ProjectLS);
        EXPECT_EQ(info->productVersionMS, ProjectMS);
        EXPECT_EQ(info->productVersionLS, ProjectLS);
    }
    EXPECT_EQ(ReadFixedFileInfo(QUARN_HTMLHELP_PATH)->fileType, 2u);
    EXPECT_EQ(ReadFixedFileInfo(QUARN_REGISTER_PATH)->fileType, 1u);
}

TEST(ReadFixedFileInfo, FilesWithoutABlockGiveNothing) {
    TempDir dir;
    WriteFileBytes(dir / "text", "just some text, longer than an ELF header would be......");
    WriteFileBytes(dir / "empty", "");
    // Holds the record's bytes, but not in a section: the reader never scans for it.
    WriteFileBytes(dir / "loose", "\x7F"
                                  "ELF" +
                                      Record(false));
    EXPECT_FALSE(ReadFixedFileInfo("/proc/self/exe").has_value()); // the test program
    EXPECT_FALSE(ReadFixedFileInfo(dir / "text").has_value());
    EXPECT_FALSE(ReadFixedFileInfo(dir / "empty").has_value());
    EXPECT_FALSE(ReadFixedFileInfo(dir / "loose").has_value());
    EXPECT_FALSE(ReadFixedFileInfo(dir / "missing").has_value());
    EXPECT_FALSE(ReadFixedFileInfo(dir.Path().string()).has_value()); // a folder
}

struct ElfCase {
    const char* label;
    ElfSpec spec;
    bool found;
};

void PrintTo(const ElfCase& c, std::ostream* out) {
    *out << c.label;
}

class ElfLayouts : public testing::TestWithParam<ElfCase> {};

TEST_P(ElfLayouts, ReadsTheNamedSectionOnly) {
    TempDir dir;
    const ElfCase& c = GetParam();
    WriteFileBytes(dir / "file", ElfWriter(c.spec).Build());
    const auto info = ReadFixedFileInfo(dir / "file");
    ASSERT_EQ(info.has_value(), c.found);
    if (c.found) {
        EXPECT_EQ(info->fileVersionMS, 0x00020001u);
        EXPECT_EQ(info->fileVersionLS, 0x00000025u);
        EXPECT_EQ(info->fileType, 1u);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ElfLayouts,
    testing::Values(
        ElfCase{"wide_little", {true, false, VersionSectionName, Record(false)}, true},
        ElfCase{"narrow_little", {false, false, VersionSectionName, Record(false)}, true},
        ElfCase{"wide_big", {true, true, VersionSectionName, Record(true)}, true},
        ElfCase{"narrow_big", {false, true, VersionSectionName, Record(true)}, true},
        ElfCase{"other_name", {true, false, ".quarn.versions", Record(false)}, false},
        ElfCase{"short_name", {true, false, ".quarn", Record(false)}, false},
        ElfCase{
            "bad_signature", {true, false, VersionSectionName, Record(false, 0xFEEF04BC)}, false},
        ElfCase{
            "short_record", {true, false, VersionSectionName, Record(false).substr(0, 48)}, false}),
    quarn::test::CaseName());

TEST(ReadFixedFileInfo, TruncatedFilesGiveNothing) {
    TempDir dir;
    const std::string whole = ElfWriter({}).Build();
    // Every cut lands before the end of the section table, which comes last.
    for (std::size_t length : {std::size_t{4}, std::size_t{20}, std::size_t{63}, std::size_t{64},
                               std::size_t{100}, whole.size() - 1}) {
        SCOPED_TRACE(length);
        WriteFileBytes(dir / "cut", whole.substr(0, length));
        EXPECT_FALSE(ReadFixedFileInfo(dir / "cut").has_value());
    }
}

} // namespace
} // namespace quarn
