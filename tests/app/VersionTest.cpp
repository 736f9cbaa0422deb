#include "TestFiles.h"
#include "app/About.h"
#include "app/KVBVersion.h"
#include "platform/ProgramFile.h"

#include <QtGlobal>
#include <dlfcn.h>
#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::TempDir;
using test::WriteFileBytes;

// The test program carries the version block 2.1.0.37.
const std::string& OwnFile() {
    static const std::string path = ProgramFilePath();
    return path;
}

// A real ELF file without a version block: the Qt library the tests run on.
std::string QtLibrary() {
    Dl_info info{};
    return dladdr(reinterpret_cast<void*>(&qVersion), &info) != 0 ? info.dli_fname : "";
}

void ExpectNumbers(const TKVBVersion& v, std::uint16_t major, std::uint16_t minor,
                   std::uint16_t release, std::uint16_t build) {
    EXPECT_EQ(v.Major(), major);
    EXPECT_EQ(v.Minor(), minor);
    EXPECT_EQ(v.Release(), release);
    EXPECT_EQ(v.Build(), build);
}

TEST(KVBVersion, StartsEmptyAndAtZero) {
    const TKVBVersion v;
    EXPECT_EQ(v.FileName(), "");
    EXPECT_EQ(v.Separator(), "");
    EXPECT_EQ(v.Version(), "");
    ExpectNumbers(v, 0, 0, 0, 0);
}

TEST(KVBVersion, VersionJoinsTheNumbersBySeparator) {
    const std::pair<const char*, const char*> cases[] = {
        {".", "2.1.0.37"},
        {"", "21037"},
        {", ", "2, 1, 0, 37"},
    };
    for (const auto& [separator, version] : cases) {
        SCOPED_TRACE(separator);
        TKVBVersion before; // separator set first, then the file
        before.SetSeparator(separator);
        before.SetFileName(OwnFile());
        EXPECT_EQ(before.Version(), version);
        ExpectNumbers(before, 2, 1, 0, 37);

        TKVBVersion after; // the file first: the separator rebuilds Version
        after.SetFileName(OwnFile());
        after.SetSeparator(separator);
        EXPECT_EQ(after.Version(), version);
        EXPECT_EQ(after.FileName(), OwnFile());
    }
}

TEST(KVBVersion, NameOfNoExistingFileChangesNothing) {
    TempDir dir;
    TKVBVersion v;
    v.SetSeparator(".");
    v.SetFileName(OwnFile());
    for (const std::string& name : {dir / "missing", dir.Path().string()}) {
        SCOPED_TRACE(name);
        v.SetFileName(name);
        EXPECT_EQ(v.FileName(), OwnFile());
        EXPECT_EQ(v.Version(), "2.1.0.37");
        ExpectNumbers(v, 2, 1, 0, 37);
    }
}

TEST(KVBVersion, FileWithoutABlockReadsAsZero) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", "no version information here");
    for (const std::string& name : {dir / "notes.txt", QtLibrary()}) {
        SCOPED_TRACE(name);
        TKVBVersion v;
        v.SetSeparator(".");
        v.SetFileName(OwnFile());
        v.SetFileName(name);
        EXPECT_EQ(v.FileName(), name);
        EXPECT_EQ(v.Version(), "");
        ExpectNumbers(v, 0, 0, 0, 0);
        v.SetSeparator(".");
        EXPECT_EQ(v.Version(), "0.0.0.0");
    }
}

TEST(KVBVersion, EmptyNameClearsNameAndVersionOnly) {
    TKVBVersion v;
    v.SetSeparator(".");
    v.SetFileName(OwnFile());
    v.SetFileName("");
    EXPECT_EQ(v.FileName(), "");
    EXPECT_EQ(v.Version(), "");
    ExpectNumbers(v, 2, 1, 0, 37);
}

TEST(AboutVersionCaption, ShowsMajorMinorAndBuildOfTheFile) {
    TempDir dir;
    WriteFileBytes(dir / "notes.txt", "no version information here");
    const std::pair<std::string, const char*> cases[] = {
        {OwnFile(), "Version 2.1 (Build 37)"},
        {QtLibrary(), "Version 0.0 (Build 0)"},
        {dir / "notes.txt", "Version 0.0 (Build 0)"},
    };
    for (const auto& [file, caption] : cases) {
        SCOPED_TRACE(file);
        TKVBVersion version;
        version.SetFileName(file);
        EXPECT_EQ(AboutVersionCaption(version), caption);
    }
}

} // namespace
} // namespace quarn
