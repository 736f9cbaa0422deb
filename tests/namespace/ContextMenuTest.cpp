// Our context menu for file-system items: what it offers for files, folders and the special
// folders, and what its verbs do on disk, on the clipboard and in the trash.
#include "NamespaceTestSupport.h"
#include "ScriptedDesktop.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "namespace/FileContextMenu.h"
#include "namespace/MenuModel.h"
#include "namespace/UserFolders.h"

#include <cstring>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using ::testing::ElementsAre;
using ::testing::MatchesRegex;

const std::string RawName = "raw-\xff\xfe.bin"; // not UTF-8

class ContextMenuTest : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "a.txt", "a");
        WriteFileBytes(dir / "b.txt", "b");
        WriteFileBytes(dir / RawName, "raw");
        std::filesystem::create_directory(dir / "sub");
        folder = BindPath(dir.Path());
    }
    void TearDown() override { std::filesystem::remove_all(TrashPath()); }

    // The menu of the named children of folder.
    ComPtr<IContextMenu> MenuOf(IShellFolder* parent, const std::vector<std::string>& names) {
        std::vector<PidlPtr> owned;
        std::vector<LPCITEMIDLIST> items;
        for (const auto& name : names) {
            owned.push_back(Child(parent, name, AllItems));
            items.push_back(owned.back().get());
        }
        void* object = nullptr;
        EXPECT_EQ(parent->GetUIObjectOf(this, static_cast<ULONG>(items.size()), items.data(),
                                        IID_IContextMenu, nullptr, &object),
                  S_OK);
        return ComPtr<IContextMenu>::Attach(static_cast<IContextMenu*>(object));
    }
    ComPtr<IContextMenu> MenuOf(const std::vector<std::string>& names) {
        return MenuOf(folder.get(), names);
    }

    HRESULT Invoke(IContextMenu* menu, const char* verb) {
        CMINVOKECOMMANDINFO info;
        info.lpVerb = verb;
        return menu->InvokeCommand(&info);
    }

    TempDir dir;
    ComPtr<IShellFolder> folder;
    ScopedScriptedMessages messages;
    ScopedScriptedDesktop desktop;
};

// Each item as "<id> <text>", "-" for a separator, with " (default)" and " (grayed)".
std::vector<std::string> Shown(IContextMenu* menu, UINT flags, HRESULT* result = nullptr) {
    MenuModel model;
    const HRESULT hr = menu->QueryContextMenu(&model, 0, FirstCommandId, LastCommandId, flags);
    if (result) {
        *result = hr;
    }
    std::vector<std::string> items;
    for (std::size_t i = 0; i < model.Count(); ++i) {
        const MenuItem& item = model.At(i);
        if (item.IsSeparator()) {
            items.push_back("-");
            continue;
        }
        items.push_back(std::to_string(item.id) + " " + item.text +
                        ((item.flags & MFS_DEFAULT) ? " (default)" : "") +
                        ((item.flags & MF_GRAYED) ? " (grayed)" : ""));
    }
    return items;
}

constexpr UINT ShownFlags = CMF_EXPLORE | CMF_CANRENAME;

TEST_F(ContextMenuTest, OneFile) {
    HRESULT hr = E_FAIL;
    EXPECT_THAT(Shown(MenuOf({"a.txt"}).get(), ShownFlags, &hr),
                ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                            "1025 &Copy", "-", "1017 &Delete", "1018 Rena&me", "-",
                            "1019 P&roperties"));
    EXPECT_EQ(hr, MakeSuccessCode(26));
}

TEST_F(ContextMenuTest, ManyFilesOfferRenameOnlyWhenAsked) {
    const auto menu = MenuOf({"a.txt", "b.txt", RawName, "sub"});
    EXPECT_THAT(Shown(menu.get(), CMF_EXPLORE),
                ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                            "1025 &Copy", "-", "1017 &Delete", "-", "1019 P&roperties"));
    EXPECT_THAT(Shown(menu.get(), CMF_DEFAULTONLY), ElementsAre("1000 &Open (default)"));
}

TEST_F(ContextMenuTest, AFolderOffersPasteOnceTheClipboardHoldsFiles) {
    const auto menu = MenuOf({"sub"});
    HRESULT hr = E_FAIL;
    EXPECT_THAT(Shown(menu.get(), ShownFlags, &hr),
                ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                            "1025 &Copy", "1026 &Paste (grayed)", "-", "1017 &Delete",
                            "1018 Rena&me", "-", "1019 P&roperties"));
    EXPECT_EQ(hr, MakeSuccessCode(27));
    EXPECT_EQ(Invoke(MenuOf({"a.txt"}).get(), "copy"), S_OK);
    EXPECT_THAT(Shown(menu.get(), ShownFlags), ::testing::Contains("1026 &Paste"));
}

// Home and the volumes have a path but can be neither moved, deleted nor renamed; Computer
// and Trash have no menu of ours.
TEST_F(ContextMenuTest, SpecialFolders) {
    const auto desktop = Desktop();
    EXPECT_THAT(Shown(MenuOf(desktop.get(), {"Home"}).get(), ShownFlags),
                ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1026 &Paste (grayed)",
                            "-", "1019 P&roperties"));
    for (const std::string name : {"Computer", "Trash"}) {
        const auto item = Child(desktop.get(), name, AllItems);
        LPCITEMIDLIST items[] = {item.get()};
        void* object = this;
        EXPECT_EQ(desktop->GetUIObjectOf(nullptr, 1, items, IID_IContextMenu, nullptr, &object),
                  E_NOTIMPL)
            << name;
        EXPECT_EQ(object, nullptr);
    }
}

TEST_F(ContextMenuTest, CommandStrings) {
    const auto menu = MenuOf({"sub"});
    char buffer[260];
    const std::pair<UINT, const char*> verbs[] = {
        {0, "open"}, {17, "delete"}, {18, "rename"}, {19, "properties"},
        {24, "cut"}, {25, "copy"},   {26, "paste"},
    };
    for (const auto& [offset, verb] : verbs) {
        EXPECT_EQ(menu->GetCommandString(offset, GCS_VERBA, nullptr, buffer, sizeof buffer), S_OK);
        EXPECT_STREQ(buffer, verb);
        EXPECT_EQ(menu->GetCommandString(offset, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer),
                  S_OK);
        EXPECT_GT(std::strlen(buffer), 10u) << verb;
    }
    EXPECT_EQ(menu->GetCommandString(17, GCS_HELPTEXTA, nullptr, buffer, sizeof buffer), S_OK);
    EXPECT_STREQ(buffer, "Moves the selected items to the trash.");
    EXPECT_EQ(menu->GetCommandString(17, GCS_VERBA, nullptr, buffer, 4), S_OK);
    EXPECT_STREQ(buffer, "del");
    EXPECT_EQ(menu->GetCommandString(1, GCS_VERBA, nullptr, buffer, sizeof buffer), E_INVALIDARG);
}

TEST_F(ContextMenuTest, VerbsByNameOrOffsetOnlyWhereOffered) {
    const auto file = MenuOf({"a.txt"});
    EXPECT_EQ(Invoke(file.get(), "OPEN"), S_OK);
    EXPECT_EQ(Invoke(file.get(), MakeIntVerb(FileContextMenu::OpenOffset)), S_OK);
    EXPECT_THAT(desktop->opened, ElementsAre(dir / "a.txt", dir / "a.txt"));
    EXPECT_EQ(Invoke(file.get(), "paste"), E_INVALIDARG);
    EXPECT_EQ(Invoke(file.get(), "explore"), E_INVALIDARG);
    EXPECT_EQ(Invoke(file.get(), MakeIntVerb(3)), E_INVALIDARG);
    EXPECT_EQ(Invoke(file.get(), "rename"), E_NOTIMPL);
    EXPECT_EQ(Invoke(file.get(), "properties"), S_OK);
    ASSERT_EQ(desktop->properties.size(), 1u);
    EXPECT_EQ(desktop->properties[0].first, this);
    EXPECT_THAT(desktop->properties[0].second, ElementsAre(dir / "a.txt"));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ContextMenuTest, OpenWithoutAnApplicationSaysSoForEachItem) {
    desktop->opens = false;
    EXPECT_EQ(Invoke(MenuOf({"a.txt", "b.txt"}).get(), "open"), S_OK);
    EXPECT_THAT(messages->Texts(), ElementsAre("Unable to open '" + (dir / "a.txt") +
                                                   "': No application could be started for it.",
                                               "Unable to open '" + (dir / "b.txt") +
                                                   "': No application could be started for it."));
}

TEST_F(ContextMenuTest, CutAndCopyPutTheItemsOnTheClipboard) {
    EXPECT_EQ(Invoke(MenuOf({"a.txt", RawName}).get(), "cut"), S_OK);
    EXPECT_EQ(desktop->clipboard, FileClipboardData({{dir / "a.txt", dir / RawName}, true}));
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "copy"), S_OK);
    EXPECT_EQ(desktop->clipboard["x-special/gnome-copied-files"],
              "copy\nfile://" + dir.Path().string() + "/sub");
}

TEST_F(ContextMenuTest, PasteOfACutSelectionMovesAndEmptiesTheClipboard) {
    EXPECT_EQ(Invoke(MenuOf({"a.txt", RawName}).get(), "cut"), S_OK);
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "paste"), S_OK);
    EXPECT_EQ(FolderNames(dir / "sub"), (std::set<std::string>{"a.txt", RawName}));
    EXPECT_EQ(ReadFileBytes(dir / ("sub/" + RawName)), "raw");
    EXPECT_EQ(FolderNames(dir), (std::set<std::string>{"b.txt", "sub"}));
    EXPECT_TRUE(desktop->clipboard.empty());
    EXPECT_TRUE(messages->shown.empty());
}

// Pasted twice, the copy finds its name taken: it says so, replaces nothing and keeps the
// clipboard.
TEST_F(ContextMenuTest, PasteOfACopyCopiesAndNeverReplaces) {
    WriteFileBytes(dir / "sub/b.txt", "older b");
    EXPECT_EQ(Invoke(MenuOf({"a.txt", "b.txt"}).get(), "copy"), S_OK);
    const MimeData copied = desktop->clipboard;
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "paste"), S_OK);
    EXPECT_EQ(ReadFileBytes(dir / "sub/a.txt"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "sub/b.txt"), "older b");
    EXPECT_EQ(ReadFileBytes(dir / "b.txt"), "b");
    EXPECT_THAT(messages->Texts(),
                ElementsAre("Unable to copy '" + (dir / "b.txt") + "' to '" + (dir / "sub/b.txt") +
                            "': A file or folder of that name already exists."));
    EXPECT_EQ(desktop->clipboard, copied);
}

// Each refused entry has its message; while more entries follow it offers Cancel, which
// leaves them where they are.
TEST_F(ContextMenuTest, TheMessageOfARefusedEntryCanEndThePaste) {
    WriteFileBytes(dir / "sub/a.txt", "older a");
    WriteFileBytes(dir / ("sub/" + RawName), "older raw");
    EXPECT_EQ(Invoke(MenuOf({"a.txt", "b.txt", RawName}).get(), "copy"), S_OK);
    const auto sub = MenuOf({"sub"});
    EXPECT_EQ(Invoke(sub.get(), "paste"), S_OK);
    ASSERT_EQ(messages->shown.size(), 2u);
    EXPECT_EQ(messages->shown[0].buttons, MessageButtons::OkCancel);
    EXPECT_EQ(messages->shown[1].buttons, MessageButtons::Ok) << "nothing follows the last";
    EXPECT_EQ(ReadFileBytes(dir / "sub/b.txt"), "b");

    std::filesystem::remove(dir / "sub/b.txt");
    messages->shown.clear();
    messages->QueueAnswer(MessageAnswer::Cancel);
    EXPECT_EQ(Invoke(sub.get(), "paste"), S_OK);
    EXPECT_THAT(messages->Texts(),
                ElementsAre("Unable to copy '" + (dir / "a.txt") + "' to '" + (dir / "sub/a.txt") +
                            "': A file or folder of that name already exists."));
    EXPECT_EQ(FolderNames(dir / "sub"), (std::set<std::string>{"a.txt", RawName}));
    EXPECT_EQ(ReadFileBytes(dir / "sub/a.txt"), "older a");
}

// A crafted entry with a path no file can have refuses the clipboard at once: Paste is grayed
// and does nothing, shows nothing, also for the good entry beside it.
TEST_F(ContextMenuTest, AClipboardWithAPathPastTheLimitsHoldsNoFiles) {
    desktop->clipboard = {{"text/uri-list", FileUri(dir / "a.txt") + "\r\nfile:///" +
                                                std::string(1 << 20, 'x') + "\r\n"}};
    const auto sub = MenuOf({"sub"});
    EXPECT_THAT(Shown(sub.get(), ShownFlags), ::testing::Contains("1026 &Paste (grayed)"));
    EXPECT_EQ(Invoke(sub.get(), "paste"), S_OK);
    EXPECT_TRUE(FolderNames(dir / "sub").empty());
    EXPECT_TRUE(messages->shown.empty());
}

// A folder pasted into itself is refused: the copy would never end.
TEST_F(ContextMenuTest, PasteIntoTheCopiedFolderItselfIsRefused) {
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "copy"), S_OK);
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "paste"), S_OK);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_NE(messages->shown[0].text.find("lies inside it"), std::string::npos);
    EXPECT_TRUE(FolderNames(dir / "sub").empty());
}

// Another file manager's cut: GNOME's list, or a uri-list with KDE's marker, moves; a bare
// uri-list copies.
TEST_F(ContextMenuTest, PasteReadsOtherFileManagersClipboards) {
    const auto sub = MenuOf({"sub"});
    desktop->clipboard = {{"text/uri-list", "file://" + dir.Path().string() + "/a.txt\r\n"}};
    EXPECT_EQ(Invoke(sub.get(), "paste"), S_OK);
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "a");
    EXPECT_EQ(ReadFileBytes(dir / "sub/a.txt"), "a");

    desktop->clipboard = {{"text/uri-list", "file://" + dir.Path().string() + "/b.txt"},
                          {"application/x-kde-cutselection", "1"}};
    EXPECT_EQ(Invoke(sub.get(), "paste"), S_OK);
    EXPECT_FALSE(PathExists(dir / "b.txt"));
    EXPECT_EQ(ReadFileBytes(dir / "sub/b.txt"), "b");
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(ContextMenuTest, DeletePutsAFolderInTheTrashWithItsInfo) {
    WriteFileBytes(dir / "sub/inner", "inner");
    EXPECT_EQ(Invoke(MenuOf({"sub"}).get(), "delete"), S_OK);
    EXPECT_FALSE(PathExists(dir / "sub"));
    EXPECT_EQ(ReadFileBytes(TrashPath() + "/files/sub/inner"), "inner");
    EXPECT_THAT(
        ReadFileBytes(TrashPath() + "/info/sub.trashinfo"),
        MatchesRegex("\\[Trash Info\\]\nPath=" + dir.Path().string() +
                     "/sub\nDeletionDate=[0-9]{4}-[0-9]{2}-[0-9]{2}T[0-9]{2}:[0-9]{2}:[0-9]{2}\n"));
    EXPECT_TRUE(messages->shown.empty());
}

// Two items of one name deleted one after the other keep their own trash names, and the
// trash lists both under their original names.
TEST_F(ContextMenuTest, DeletingTwoItemsOfOneNameKeepsBoth) {
    std::filesystem::create_directory(dir / "other");
    WriteFileBytes(dir / "other/a.txt", "other a");
    EXPECT_EQ(Invoke(MenuOf({"a.txt", RawName}).get(), "delete"), S_OK);
    EXPECT_EQ(Invoke(MenuOf(BindPath(dir / "other").get(), {"a.txt"}).get(), "delete"), S_OK);
    EXPECT_EQ(FolderNames(TrashPath() + "/files"),
              (std::set<std::string>{"a.txt", "a.txt.2", RawName}));
    EXPECT_EQ(ReadFileBytes(TrashPath() + "/files/a.txt"), "a");
    EXPECT_EQ(ReadFileBytes(TrashPath() + "/files/a.txt.2"), "other a");
    EXPECT_THAT(ReadFileBytes(TrashPath() + "/info/a.txt.2.trashinfo"),
                ::testing::HasSubstr("\nPath=" + dir.Path().string() + "/other/a.txt\n"));
    EXPECT_THAT(ReadFileBytes(TrashPath() + "/info/" + RawName + ".trashinfo"),
                ::testing::HasSubstr("/raw-%FF%FE.bin\n"));

    LPITEMIDLIST trashList = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_BITBUCKET, &trashList), S_OK);
    const PidlPtr trashOwned(trashList);
    const auto trash = BindFolder(trashList);
    EXPECT_THAT(DisplayNames(trash.get(), Enumerate(trash.get(), AllItems)),
                ::testing::UnorderedElementsAre("a.txt", "a.txt", RawName));
}

// A refused name is shown with both names and leaves the entry alone; the new item of a
// rename carries the new name.
TEST_F(ContextMenuTest, SetNameOfRenamesInPlaceAndShowsRefusals) {
    const auto item = Child(folder.get(), "a.txt", AllItems);
    LPITEMIDLIST renamed = nullptr;
    for (const std::string refused : {"b.txt", "..", ""}) {
        EXPECT_TRUE(Failed(folder->SetNameOf(this, item.get(), refused, 0x20, &renamed)));
        EXPECT_EQ(renamed, nullptr);
    }
    EXPECT_THAT(messages->Texts(),
                ElementsAre("Unable to rename 'a.txt' to 'b.txt': A file or folder of that name "
                            "already exists.",
                            "Unable to rename 'a.txt' to '..': \".\" and \"..\" cannot be used as "
                            "names.",
                            "Unable to rename 'a.txt' to '': A name cannot be empty."));
    EXPECT_EQ(ReadFileBytes(dir / "a.txt"), "a");

    const std::string raw = "r\xe9sum\xe9";
    ASSERT_EQ(folder->SetNameOf(this, item.get(), raw, 0x20, &renamed), S_OK);
    const PidlPtr owned(renamed);
    EXPECT_EQ(DisplayName(folder.get(), renamed, SHGDN_INFOLDER), raw);
    EXPECT_EQ(ReadFileBytes(dir / raw), "a");
    EXPECT_FALSE(PathExists(dir / "a.txt"));
}

} // namespace
} // namespace quarn::test
