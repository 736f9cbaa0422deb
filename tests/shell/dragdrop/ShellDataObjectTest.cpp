// The data objects' byte blocks, their format list and enumerator, and the checks that keep
// a crafted block from being read past its end.
#include "shell/dragdrop/ShellDataObject.h"

#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "namespace/ItemCodec.h"
#include "shell/dragdrop/DroppedItems.h"
#include "shell/dragdrop/ShellDataBlocks.h"
#include "shell/idlist/ShellItemRoutines.h"

#include <cstdlib>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

std::string Uint32(std::uint32_t value) {
    std::string bytes;
    for (int shift = 0; shift < 32; shift += 8) {
        bytes.push_back(static_cast<char>(value >> shift));
    }
    return bytes;
}

std::string Item(const std::string& payload) {
    const auto size = static_cast<std::uint16_t>(payload.size() + 2);
    return std::string{static_cast<char>(size & 0xFF), static_cast<char>(size >> 8)} + payload;
}

const std::string End(2, '\0');

ComPtr<TSCShellDataObject> MakeData(std::optional<std::string> shellIdList,
                                    std::optional<std::string> hDrop) {
    return MakeCom<TSCShellDataObject>(TSCDataBlocks{std::move(shellIdList), std::move(hDrop)});
}

TEST(ShellIdListBlock, LaysOutOneAndThreeChildren) {
    const PidlPtr parent = MakeList({"home", "docs"});
    const PidlPtr a = MakeList({"a"});
    const PidlPtr b = MakeList({"bb"});
    const PidlPtr c = MakeList({"ccc"});
    const std::string parentBytes = Item("home") + Item("docs") + End;

    EXPECT_EQ(BuildShellIdListBlock(parent.get(), {a.get()}),
              Uint32(1) + Uint32(12) + Uint32(12 + 14) + parentBytes + Item("a") + End);
    // Three children: the parent at 8 + 4 * 3, the first child right after it.
    EXPECT_EQ(BuildShellIdListBlock(parent.get(), {a.get(), b.get(), c.get()}),
              Uint32(3) + Uint32(20) + Uint32(34) + Uint32(39) + Uint32(45) + parentBytes +
                  Item("a") + End + Item("bb") + End + Item("ccc") + End);
    // No parent: the desktop's empty list.
    EXPECT_EQ(BuildShellIdListBlock(nullptr, {a.get()}),
              Uint32(1) + Uint32(12) + Uint32(14) + End + Item("a") + End);
}

TEST(ShellIdListBlock, ReadsBackWhatWasBuilt) {
    const PidlPtr parent = MakeList({"home"});
    const PidlPtr a = MakeList({"a"});
    const PidlPtr b = MakeList({"bb"});
    const auto items =
        ParseShellIdListBlock(BuildShellIdListBlock(parent.get(), {a.get(), b.get()}));
    ASSERT_TRUE(items);
    EXPECT_EQ(items->parent, ListText(parent.get()));
    EXPECT_EQ(items->children, (std::vector<std::string>{ListText(a.get()), ListText(b.get())}));
}

TEST(ShellIdListBlock, RefusesCraftedBlocks) {
    const std::string goodTail = Item("home") + End + Item("a") + End;
    const std::vector<std::pair<const char*, std::string>> blocks{
        {"empty", ""},
        {"shorter than its header", Uint32(0)},
        {"count too large", Uint32(0x40000000) + Uint32(12) + Uint32(20) + goodTail},
        {"count past the offsets", Uint32(3) + Uint32(12) + Uint32(20) + goodTail},
        {"parent past the end", Uint32(1) + Uint32(9999) + Uint32(20) + goodTail},
        {"child past the end", Uint32(1) + Uint32(12) + Uint32(0xFFFFFFFF) + goodTail},
        {"no terminator", Uint32(1) + Uint32(12) + Uint32(20) + Item("home") + End + Item("a")},
        {"item running past the end", Uint32(1) + Uint32(12) + Uint32(20) + Item("home") + End +
                                          std::string("\xF0\x00"
                                                      "ab",
                                                      4)},
        {"item of size 1",
         Uint32(1) + Uint32(12) + Uint32(20) + Item("home") + End + std::string("\x01\x00", 2)},
    };
    for (const auto& [what, block] : blocks) {
        EXPECT_FALSE(ParseShellIdListBlock(block)) << what;
    }
    EXPECT_TRUE(ParseShellIdListBlock(Uint32(1) + Uint32(12) + Uint32(20) + goodTail));
}

// Lists deeper than any path within PATH_MAX are refused before anything walks them: the
// desktop's child, a volume, then a name and its "/" for every two bytes.
TEST(ShellIdListBlock, RefusesAListDeeperThanAnyPath) {
    const auto blockWith = [](std::size_t levels) {
        std::string parent;
        for (std::size_t i = 0; i < levels; ++i) {
            parent += Item("a");
        }
        return Uint32(1) + Uint32(12) + Uint32(12 + parent.size() + 2) + parent + End + Item("a") +
               End;
    };
    EXPECT_TRUE(ParseShellIdListBlock(blockWith(2 + 4096 / 2)));
    EXPECT_FALSE(ParseShellIdListBlock(blockWith(3 + 4096 / 2)));
    EXPECT_FALSE(ParseShellIdListBlock(blockWith(1 << 16)));
}

TEST(HDropBlock, IsSizedExactlyForItsPaths) {
    const std::string header = Uint32(20) + Uint32(0) + Uint32(0) + Uint32(0) + Uint32(0);
    EXPECT_EQ(BuildHDropBlock({"/a"}), header + std::string("/a\0\0", 4));
    EXPECT_EQ(BuildHDropBlock({"/a", "/bc", "/d"}), header + std::string("/a\0/bc\0/d\0\0", 11));

    const std::string longPath = "/" + std::string(150, 'x') + "/" + std::string(148, 'x');
    const std::string block = BuildHDropBlock({longPath});
    EXPECT_EQ(block.size(), 20u + 300 + 1 + 1);
    EXPECT_EQ(ParseHDropBlock(block), std::vector<std::string>{longPath});
}

TEST(HDropBlock, RefusesPathsNoEntryCanHave) {
    const std::string longest = "/" + std::string(255, 'n') + std::string(3839, '/');
    ASSERT_EQ(longest.size(), 4095u);
    EXPECT_TRUE(ParseHDropBlock(BuildHDropBlock({"/ok", longest})));
    EXPECT_FALSE(ParseHDropBlock(BuildHDropBlock({"/ok", longest + "/"})));
    EXPECT_FALSE(ParseHDropBlock(BuildHDropBlock({"/ok", "/" + std::string(256, 'n')})));
    EXPECT_FALSE(ParseHDropBlock(BuildHDropBlock({"/" + std::string(1 << 20, 'n')})));
}

TEST(HDropBlock, RefusesCraftedBlocks) {
    const std::string header = Uint32(20) + Uint32(0) + Uint32(0) + Uint32(0) + Uint32(0);
    EXPECT_FALSE(ParseHDropBlock(header));
    EXPECT_FALSE(ParseHDropBlock(header + std::string("/a\0/b", 5)));
    EXPECT_FALSE(ParseHDropBlock(Uint32(5000) + header.substr(4) + std::string("/a\0\0", 4)));
    EXPECT_FALSE(ParseHDropBlock(Uint32(20) + Uint32(0) + Uint32(0) + Uint32(0) + Uint32(1) +
                                 std::string("/\0\0\0", 4))); // wide characters
}

class DataObjectTest : public ::testing::Test {
protected:
    static FORMATETC Request(CLIPFORMAT format, DWORD tymed = TYMED_HGLOBAL) {
        return FORMATETC{format, nullptr, DVASPECT_CONTENT, -1, tymed};
    }
    static std::vector<CLIPFORMAT> Formats(IDataObject& data) {
        ComPtr<IEnumFORMATETC> formats;
        EXPECT_EQ(data.EnumFormatEtc(DATADIR_GET, formats.Put()), S_OK);
        std::vector<CLIPFORMAT> result;
        FORMATETC format;
        while (formats->Next(1, &format, nullptr) == S_OK) {
            result.push_back(format.cfFormat);
        }
        return result;
    }
};

TEST_F(DataObjectTest, HandsOutCopiesOfTheBlocksItOffers) {
    const auto data = MakeData(std::string("ids"), std::string("drop"));
    EXPECT_EQ(Formats(*data.get()), (std::vector<CLIPFORMAT>{ShellIdListFormat(), CF_HDROP}));
    EXPECT_EQ(ReadDataBlock(data.get(), ShellIdListFormat()), "ids");
    EXPECT_EQ(ReadDataBlock(data.get(), CF_HDROP), "drop");

    STGMEDIUM medium;
    EXPECT_EQ(data->GetData(Request(CF_HDROP, 4), &medium), DV_E_TYMED);
    EXPECT_EQ(data->GetData(Request(1), &medium), DV_E_FORMATETC);
    FORMATETC thumbnail = Request(CF_HDROP);
    thumbnail.dwAspect = 2;
    EXPECT_EQ(data->QueryGetData(thumbnail), DV_E_FORMATETC);
    EXPECT_EQ(medium.tymed, TYMED_NULL);
}

TEST_F(DataObjectTest, WithoutBlocksOffersNothing) {
    const auto data = MakeData(std::nullopt, std::nullopt);
    EXPECT_TRUE(Formats(*data.get()).empty());
    EXPECT_EQ(data->QueryGetData(Request(CF_HDROP)), DV_E_FORMATETC);
    IEnumFORMATETC* formats = reinterpret_cast<IEnumFORMATETC*>(1);
    EXPECT_EQ(data->EnumFormatEtc(DATADIR_SET, &formats), E_NOTIMPL);
    EXPECT_EQ(formats, nullptr);
    EXPECT_EQ(data->DAdvise(Request(CF_HDROP), 0, nullptr, nullptr), OLE_E_ADVISENOTSUPPORTED);
}

TEST_F(DataObjectTest, TheEnumeratorSkipsResetsAndClonesAndOutlivesItsObject) {
    ComPtr<IEnumFORMATETC> formats;
    {
        const auto data = MakeData(std::string("ids"), std::string("drop"));
        data->EnumFormatEtc(DATADIR_GET, formats.Put());
    }
    FORMATETC got[3];
    ULONG fetched = 9;
    EXPECT_EQ(formats->Next(3, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 2u);
    EXPECT_EQ(formats->Reset(), S_OK);
    EXPECT_EQ(formats->Skip(1), S_OK);
    ComPtr<IEnumFORMATETC> clone;
    EXPECT_EQ(formats->Clone(clone.Put()), S_OK);
    EXPECT_EQ(formats->Skip(2), S_FALSE);
    EXPECT_EQ(formats->Next(1, got, &fetched), S_FALSE);
    EXPECT_EQ(fetched, 0u);
    EXPECT_EQ(clone->Next(1, got, nullptr), S_OK);
    EXPECT_EQ(got[0].cfFormat, CF_HDROP);
}

// The "Shell IDList Array" of items given by path, all in one folder.
std::string IdListBlockOf(const std::vector<std::string>& paths) {
    const ItemsOfOneFolder items = ItemsByPath(paths);
    return BuildShellIdListBlock(items.FolderPidl(), items.children);
}

TEST(ReadShellIdList, AnswersWhatEveryItemAllows) {
    TempDir dir;
    WriteFileBytes(dir / "a", "a");
    WriteFileBytes(dir / "b", "b");
    const auto files = MakeData(IdListBlockOf({dir / "a", dir / "b"}), std::nullopt);
    EXPECT_EQ(ReadShellIdList(files.get()), DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    EXPECT_EQ(DroppedPaths(files.get()), (std::vector<std::string>{dir / "a", dir / "b"}));

    // Home itself may only be linked.
    const auto home = MakeData(IdListBlockOf({std::getenv("HOME")}), std::nullopt);
    EXPECT_EQ(ReadShellIdList(home.get()), DROPEFFECT_LINK);
}

TEST(ReadShellIdList, RefusesABadBlockAndAllowsAllWithoutOne) {
    const std::string hDrop = BuildHDropBlock({"/x/a"});
    const auto crafted = MakeData(Uint32(0x7FFFFFFF) + Uint32(8) + End, hDrop);
    EXPECT_EQ(ReadShellIdList(crafted.get()), DROPEFFECT_NONE);
    EXPECT_EQ(DroppedPaths(crafted.get()), std::vector<std::string>{"/x/a"});

    const auto pathsOnly = MakeData(std::nullopt, hDrop);
    EXPECT_EQ(ReadShellIdList(pathsOnly.get()),
              DROPEFFECT_COPY | DROPEFFECT_MOVE | DROPEFFECT_LINK);
    EXPECT_TRUE(DroppedPaths(MakeData(std::nullopt, "junk").get()).empty());
}

// Real items of Home, then folders of 250-byte names, deeper than PATH_MAX: the drop has no
// paths, whatever the CF_HDROP says, and the long list is never bound.
TEST(DroppedPaths, RefusesItemsWhosePathRunsPastPathMax) {
    const std::string name(250, 'n');
    EntryItem folder;
    folder.kind = EntryItemKind::Folder;
    folder.name = name;
    std::string parent = EncodeItem(RootItem{RootKind::Home});
    for (int level = 0; level < 20; ++level) {
        parent += EncodeItem(folder);
    }
    EntryItem file;
    file.name = "f";
    const std::string child = EncodeItem(file) + End;
    const std::string block =
        Uint32(1) + Uint32(12) + Uint32(12 + parent.size() + 2) + parent + End + child;
    ASSERT_TRUE(ParseShellIdListBlock(block));
    EXPECT_TRUE(DroppedPaths(MakeData(block, std::nullopt).get()).empty());
    EXPECT_TRUE(DroppedPaths(MakeData(block, BuildHDropBlock({"/" + name + "/" + name + "/" +
                                                              std::string(4000, '/')}))
                                 .get())
                    .empty());
}

} // namespace
} // namespace quarn::test
