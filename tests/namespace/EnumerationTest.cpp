// Listing a folder of awkward names through the namespace: what is listed, the attributes
// and the names of each entry.
#include "CaseNames.h"
#include "NamespaceTestSupport.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"

#include <cerrno>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

using ::testing::UnorderedElementsAre;
using ::testing::UnorderedElementsAreArray;

const std::string RawName = "raw-\xff\xfe.bin"; // not UTF-8

class FixtureFolder : public ::testing::Test {
protected:
    void SetUp() override {
        for (const std::string name : {"with space.txt", "star*.txt", "what?.txt", "a::b.txt",
                                       "ARCHIVE.ZIP", ".hidden", "read only.txt"}) {
            WriteFileBytes(dir / name, name);
        }
        WriteFileBytes(dir / RawName, "raw");
        std::filesystem::create_directory(dir / "sub");
        WriteFileBytes(dir / "sub/inner.txt", "inner");
        std::filesystem::create_directory_symlink("sub", dir / "link to folder");
        std::filesystem::create_symlink("with space.txt", dir / "link to file");
        std::filesystem::create_symlink("missing", dir / "dangling");
        chmod((dir / "read only.txt").c_str(), 0444);
        folder = BindPath(dir.Path());
    }

    TempDir dir;
    ComPtr<IShellFolder> folder;
};

TEST_F(FixtureFolder, ListsEveryEntryWithItsRawName) {
    EXPECT_THAT(DisplayNames(folder.get(), Enumerate(folder.get(), AllItems)),
                UnorderedElementsAre("with space.txt", "star*.txt", "what?.txt", "a::b.txt",
                                     "ARCHIVE.ZIP", ".hidden", "read only.txt", RawName, "sub",
                                     "link to folder", "link to file", "dangling"));
}

TEST_F(FixtureFolder, FlagsChooseFoldersNonFoldersAndHidden) {
    EXPECT_THAT(DisplayNames(folder.get(), Enumerate(folder.get(), SHCONTF_FOLDERS)),
                UnorderedElementsAre("sub", "link to folder"));
    const auto visibleFiles =
        DisplayNames(folder.get(), Enumerate(folder.get(), SHCONTF_NONFOLDERS));
    EXPECT_EQ(visibleFiles.size(), 9u);
    EXPECT_THAT(visibleFiles, ::testing::Not(::testing::Contains(".hidden")));
}

struct AttributeCase {
    std::string name;
    SFGAOF set;
    SFGAOF clear;
};

TEST_F(FixtureFolder, AttributesOfEachKindOfEntry) {
    constexpr SFGAOF file = SFGAO_FILESYSTEM | SFGAO_CANRENAME | SFGAO_CANDELETE | SFGAO_CANCOPY;
    constexpr SFGAOF folderBits = SFGAO_FOLDER | SFGAO_HASSUBFOLDER | SFGAO_FILESYSANCESTOR;
    const AttributeCase cases[] = {
        {"with space.txt", file, folderBits | SFGAO_LINK | SFGAO_HIDDEN | SFGAO_READONLY},
        {RawName, file, folderBits | SFGAO_LINK},
        {"a::b.txt", file, folderBits | SFGAO_LINK},
        {"ARCHIVE.ZIP", file, folderBits | SFGAO_LINK},
        {"sub", file | folderBits, SFGAO_LINK | SFGAO_HIDDEN},
        {"link to folder", file | folderBits | SFGAO_LINK, SFGAO_HIDDEN},
        {"link to file", file | SFGAO_LINK, folderBits},
        {"dangling", file | SFGAO_LINK, folderBits},
        {".hidden", file | SFGAO_HIDDEN | SFGAO_GHOSTED, folderBits},
        {"read only.txt", file | SFGAO_READONLY, folderBits},
    };
    for (const auto& c : cases) {
        const auto item = Child(folder.get(), c.name, AllItems);
        const SFGAOF attributes = Attributes(folder.get(), item.get());
        EXPECT_EQ(attributes & c.set, c.set) << c.name;
        EXPECT_EQ(attributes & c.clear, 0u) << c.name;
    }
}

TEST_F(FixtureFolder, AttributesOfSeveralItemsAreThoseTheyShare) {
    const auto sub = Child(folder.get(), "sub", AllItems);
    const auto link = Child(folder.get(), "link to file", AllItems);
    LPCITEMIDLIST items[] = {sub.get(), link.get()};
    SFGAOF attributes = SFGAO_FOLDER | SFGAO_LINK | SFGAO_FILESYSTEM;
    EXPECT_EQ(folder->GetAttributesOf(2, items, &attributes), S_OK);
    EXPECT_EQ(attributes, SFGAO_FILESYSTEM);
}

TEST_F(FixtureFolder, AnEntryThatVanishedKeepsItsAttributesAndNames) {
    const auto item = Child(folder.get(), "with space.txt", AllItems);
    const SFGAOF before = Attributes(folder.get(), item.get());
    std::filesystem::remove(dir / "with space.txt");
    EXPECT_EQ(Attributes(folder.get(), item.get()), before);
    EXPECT_EQ(DisplayName(folder.get(), item.get(), SHGDN_NORMAL), "with space.txt");
}

TEST_F(FixtureFolder, EntriesRemovedWhileListingAreSkipped) {
    TempDir many;
    for (int i = 0; i < 500; ++i) {
        WriteFileBytes(many / ("f" + std::to_string(i)), "x");
    }
    const auto manyFolder = BindPath(many.Path());
    ComPtr<IEnumIDList> enumerator;
    ASSERT_EQ(manyFolder->EnumObjects(nullptr, AllItems, enumerator.Put()), S_OK);
    LPITEMIDLIST first = nullptr;
    ASSERT_EQ(enumerator->Next(1, &first, nullptr), S_OK);
    const PidlPtr keep(first);
    const std::string kept = DisplayName(manyFolder.get(), keep.get(), SHGDN_NORMAL);
    for (const auto& name : FolderNames(many)) {
        if (name != kept) {
            std::filesystem::remove(many / name);
        }
    }
    LPITEMIDLIST rest[600] = {};
    ULONG fetched = 99;
    EXPECT_EQ(enumerator->Next(600, rest, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
}

TEST_F(FixtureFolder, ALinkToAFolderBindsToItsContents) {
    const auto link = Child(folder.get(), "link to folder", AllItems);
    void* object = nullptr;
    ASSERT_EQ(folder->BindToObject(link.get(), nullptr, IID_IShellFolder, &object), S_OK);
    const auto linked = ComPtr<IShellFolder>::Attach(static_cast<IShellFolder*>(object));
    EXPECT_THAT(DisplayNames(linked.get(), Enumerate(linked.get(), AllItems)),
                UnorderedElementsAre("inner.txt"));
    EXPECT_EQ(DisplayName(linked.get(), Enumerate(linked.get(), AllItems).front().get(),
                          SHGDN_FORPARSING),
              dir / "link to folder/inner.txt");
}

TEST_F(FixtureFolder, AFileDoesNotBind) {
    const auto file = Child(folder.get(), "a::b.txt", AllItems);
    void* object = nullptr;
    EXPECT_TRUE(Failed(folder->BindToObject(file.get(), nullptr, IID_IShellFolder, &object)));
    EXPECT_EQ(object, nullptr);
}

TEST_F(FixtureFolder, AFolderRemovedAfterBindingFailsToEnumerate) {
    const auto sub = BindPath(dir / "sub");
    std::filesystem::remove_all(dir / "sub");
    ComPtr<IEnumIDList> enumerator;
    EXPECT_EQ(sub->EnumObjects(nullptr, AllItems, enumerator.Put()), HResultFromErrno(ENOENT));
    EXPECT_FALSE(enumerator);
}

// A folder that cannot be read: removed since it was bound, or closed by its mode (which
// stops everyone but root).
struct UnreadableCase {
    const char* name;
    void (*makeUnreadable)(const std::string& folder);
    const char* reason;
};

void PrintTo(const UnreadableCase& unreadable, std::ostream* out) {
    *out << unreadable.name;
}

const UnreadableCase UnreadableCases[] = {
    {"Removed", [](const std::string& folder) { std::filesystem::remove_all(folder); },
     "No such file or directory"},
    {"ModeZero", [](const std::string& folder) { ::chmod(folder.c_str(), 0); },
     "Permission denied"},
};

class UnreadableFolder : public FixtureFolder,
                         public ::testing::WithParamInterface<UnreadableCase> {
protected:
    void SetUp() override {
        FixtureFolder::SetUp();
        if (std::string(GetParam().name) == "ModeZero" && ::geteuid() == 0) {
            GTEST_SKIP() << "root reads a folder whatever its mode";
        }
        sub = BindPath(dir / "sub");
        GetParam().makeUnreadable(dir / "sub");
    }
    void TearDown() override { ::chmod((dir / "sub").c_str(), 0755); }

    ScopedScriptedMessages messages;
    ComPtr<IShellFolder> sub;
};

TEST_P(UnreadableFolder, TellsTheOwnerWindowOnceWhyAndFails) {
    ComPtr<IEnumIDList> enumerator;
    int owner = 0;
    EXPECT_TRUE(Failed(sub->EnumObjects(&owner, AllItems, enumerator.Put())));
    EXPECT_FALSE(enumerator);
    ASSERT_EQ((*messages).shown.size(), 1u);
    EXPECT_EQ((*messages).shown[0].kind, MessageKind::Error);
    EXPECT_EQ((*messages).shown[0].text,
              "Unable to list the folder '" + (dir / "sub") + "': " + GetParam().reason + ".");

    EXPECT_TRUE(Failed(sub->EnumObjects(nullptr, AllItems, enumerator.Put())));
    EXPECT_EQ((*messages).shown.size(), 1u) << "without an owner window, nothing is shown";
}

INSTANTIATE_TEST_SUITE_P(Folders, UnreadableFolder, ::testing::ValuesIn(UnreadableCases),
                         CaseName());

} // namespace
} // namespace quarn::test
