// The context-menu routines of the controls over our menu for file-system items: the QMenu
// built for one file, many files and a folder, verbs by name and offset, the help texts, the
// owner window.
#include "ScriptedDesktop.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/PidlRoutines.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/menus/ShellContextMenus.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using ::testing::ElementsAre;

class ContextMenus : public ::testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(dir / "a.txt", "a");
        WriteFileBytes(dir / "b.txt", "b");
        std::filesystem::create_directory(dir / "sub");
        folderList = ParsePath(dir.Path().string());
        ASSERT_EQ(GetPidlFolder(folderList.get(), folder), S_OK);
    }

    // The one-item lists of the named children.
    std::vector<LPCITEMIDLIST> Children(const std::vector<std::string>& names) {
        std::vector<LPCITEMIDLIST> items;
        for (const auto& name : names) {
            const PidlPtr absolute = ParsePath(dir / name);
            LPCITEMIDLIST last = absolute.get();
            while (HasItems(NextItem(last))) {
                last = NextItem(last);
            }
            owned.emplace_back(DuplicatePidl(nullptr, last));
            items.push_back(owned.back().get());
        }
        return items;
    }

    HRESULT Build(const std::vector<std::string>& names, UINT flags = CMF_EXPLORE | CMF_CANRENAME) {
        const auto items = Children(names);
        return BuildShellContextMenu(nullptr, folder.get(), static_cast<ULONG>(items.size()),
                                     items.data(), FirstCommandId, flags, menu, contextMenu);
    }

    // Each action as "<id> <text>", "-" for a separator, with " (default)" and " (grayed)".
    std::vector<std::string> Shown() const {
        std::vector<std::string> shown;
        for (const QAction* action : menu->actions()) {
            if (action->isSeparator()) {
                shown.push_back("-");
                continue;
            }
            shown.push_back(std::to_string(action->data().toInt()) + " " +
                            action->text().toStdString() +
                            (action == menu->defaultAction() ? " (default)" : "") +
                            (action->isEnabled() ? "" : " (grayed)"));
        }
        return shown;
    }

    TempDir dir;
    PidlPtr folderList;
    ComPtr<IShellFolder> folder;
    std::vector<PidlPtr> owned;
    std::unique_ptr<QMenu> menu;
    ComPtr<IContextMenu> contextMenu;
    ScopedScriptedMessages messages;
    ScopedScriptedDesktop desktop;
};

TEST_F(ContextMenus, OneFile) {
    EXPECT_EQ(Build({"a.txt"}), MakeSuccessCode(26));
    EXPECT_THAT(Shown(), ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                                     "1025 &Copy", "-", "1017 &Delete", "1018 Rena&me", "-",
                                     "1019 P&roperties"));
    EXPECT_TRUE(contextMenu);
}

TEST_F(ContextMenus, ManyFilesWithoutRenameForAReadOnlyControl) {
    EXPECT_EQ(Build({"a.txt", "b.txt", "sub"}, CMF_EXPLORE), MakeSuccessCode(26));
    EXPECT_THAT(Shown(), ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                                     "1025 &Copy", "-", "1017 &Delete", "-", "1019 P&roperties"));
}

TEST_F(ContextMenus, AFolderWithFilesOnTheClipboard) {
    desktop->clipboard = {{"text/uri-list", "file://" + (dir / "a.txt") + "\r\n"}};
    EXPECT_EQ(Build({"sub"}), MakeSuccessCode(27));
    EXPECT_THAT(Shown(), ElementsAre("1000 &Open (default)", "-", "0 Se&nd To", "-", "1024 Cu&t",
                                     "1025 &Copy", "1026 &Paste", "-", "1017 &Delete",
                                     "1018 Rena&me", "-", "1019 P&roperties"));
}

// A failed GetUIObjectOf is answered; Computer has no menu of ours.
TEST_F(ContextMenus, NoMenuWhereTheFolderGivesNone) {
    const PidlPtr computer = SpecialFolder(CSIDL_DRIVES);
    ComPtr<IShellFolder> desktopFolder;
    ASSERT_EQ(GetDesktopFolder(desktopFolder), S_OK);
    LPCITEMIDLIST items[] = {computer.get()};
    menu = std::make_unique<QMenu>();
    EXPECT_EQ(BuildShellContextMenu(nullptr, desktopFolder.get(), 1, items, FirstCommandId,
                                    CMF_EXPLORE, menu, contextMenu),
              E_NOTIMPL);
    EXPECT_FALSE(menu);
    EXPECT_FALSE(contextMenu);
}

// A menu object that cannot fill its menu, and counts who holds it.
class BrokenMenu final : public ComObject<IContextMenu> {
public:
    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IContextMenu>(this, iid, object);
    }
    HRESULT QueryContextMenu(HMENU, UINT, UINT, UINT, UINT) override { return E_OUTOFMEMORY; }
    HRESULT InvokeCommand(const CMINVOKECOMMANDINFO*) override { return E_FAIL; }
    HRESULT GetCommandString(std::uintptr_t, UINT, UINT*, char*, UINT) override { return E_FAIL; }
    ULONG References() {
        AddRef();
        return Release();
    }
};

class FolderOfBrokenMenus final : public FakeFolder {
public:
    explicit FolderOfBrokenMenus(BrokenMenu* menu) : menu_(menu) {}
    HRESULT GetUIObjectOf(HWND, ULONG, const LPCITEMIDLIST*, const IID& iid, ULONG*,
                          void** object) override {
        return menu_->QueryInterface(iid, object);
    }

private:
    BrokenMenu* menu_;
};

TEST_F(ContextMenus, AMenuThatCannotBeFilledRaisesAndLetsGo) {
    const auto broken = MakeCom<BrokenMenu>();
    const auto brokenFolder = MakeCom<FolderOfBrokenMenus>(broken.get());
    const auto items = Children({"a.txt"});
    try {
        BuildShellContextMenu(nullptr, brokenFolder.get(), 1, items.data(), FirstCommandId,
                              CMF_EXPLORE, menu, contextMenu);
        ADD_FAILURE() << "no exception";
    } catch (const EOleSysError& error) {
        EXPECT_EQ(error.ErrorCode(), E_OUTOFMEMORY);
    }
    EXPECT_FALSE(menu);
    EXPECT_FALSE(contextMenu);
    EXPECT_EQ(broken->References(), 1u);
    EXPECT_THROW(FindVerbCommand(broken.get(), "copy"), EOleSysError);
}

// Rename is offered only with CMF_CANRENAME, which the search does not give.
TEST_F(ContextMenus, FindVerbCommandFindsOnlyWhatTheMenuOffers) {
    ASSERT_EQ(Build({"sub"}), MakeSuccessCode(27));
    const struct {
        const char* verb;
        int offset;
    } cases[] = {
        {"open", 0},    {"copy", 25},       {"COPY", 25},   {"Cut", 24},     {"paste", 26},
        {"delete", 17}, {"properties", 19}, {"rename", -1}, {"explore", -1}, {"", -1},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(FindVerbCommand(contextMenu.get(), c.verb), c.offset) << c.verb;
    }
    ASSERT_EQ(Build({"a.txt"}), MakeSuccessCode(26));
    EXPECT_EQ(FindVerbCommand(contextMenu.get(), "paste"), -1);
}

TEST_F(ContextMenus, InvokeVerbByNameOrOffset) {
    ASSERT_EQ(Build({"a.txt"}), MakeSuccessCode(26));
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), "paste"), S_OK); // not offered: nothing
    EXPECT_TRUE(desktop->clipboard.empty());
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), "Copy"), S_OK);
    EXPECT_EQ(desktop->clipboard["x-special/gnome-copied-files"],
              "copy\nfile://" + (dir / "a.txt"));
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), 0u), S_OK);
    EXPECT_THAT(desktop->opened, ElementsAre(dir / "a.txt"));
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), RenameCommandOffset), E_NOTIMPL);

    ASSERT_EQ(Build({"sub"}), MakeSuccessCode(27));
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), "paste"), S_OK);
    EXPECT_EQ(ReadFileBytes(dir / "sub/a.txt"), "a");
    EXPECT_EQ(InvokeVerb(nullptr, contextMenu.get(), "delete"), S_OK);
    EXPECT_FALSE(PathExists(dir / "sub"));
    EXPECT_TRUE(messages->shown.empty());
}

// Chosen from the keyboard: Down past Send To to Cut and Enter; Esc chooses nothing.
TEST_F(ContextMenus, TrackPopupMenuAnswersTheChosenIdentifier) {
    ASSERT_EQ(Build({"a.txt"}), MakeSuccessCode(26));
    const auto press = [](std::vector<Qt::Key> keys) {
        QTimer::singleShot(50, [keys] {
            for (const Qt::Key key : keys) {
                QTest::keyClick(QApplication::activePopupWidget(), key);
            }
        });
    };
    press({Qt::Key_Down, Qt::Key_Down, Qt::Key_Down, Qt::Key_Return});
    EXPECT_EQ(TrackPopupMenu(*menu, QPoint(100, 100)), 1024);
    press({Qt::Key_Escape});
    EXPECT_EQ(TrackPopupMenu(*menu, QPoint(100, 100)), 0);
}

TEST_F(ContextMenus, HelpTextsOfTheHighlightedCommandGoToOnPopupHint) {
    ASSERT_EQ(Build({"a.txt"}), MakeSuccessCode(26));
    QObject control;
    std::vector<std::string> hints;
    ConnectMenuHelpTexts(*menu, contextMenu, &control,
                         [&](QObject* sender, const std::string& hint) {
                             EXPECT_EQ(sender, &control);
                             hints.push_back(hint);
                         });
    QAction sendTo(QStringLiteral("Send To entry"));
    sendTo.setData(1);
    for (QAction* action :
         {menu->actions().at(0), menu->actions().at(7), menu->actions().at(2), &sendTo}) {
        emit menu->hovered(action);
    }
    emit menu->aboutToHide();
    EXPECT_THAT(hints, ElementsAre("Opens the selected items with the desktop's default "
                                   "applications.",
                                   "Moves the selected items to the trash.", "", "", ""));

    hints.clear();
    ReportMenuHelpText(menu->actions().at(0), nullptr, &control,
                       [&](QObject*, const std::string& hint) { hints.push_back(hint); });
    EXPECT_TRUE(hints.empty());
}

TEST(GetOwnerFormHandle, TheWindowThatHoldsTheControl) {
    QMainWindow main;
    auto* central = new QWidget(&main);
    main.setCentralWidget(central);
    auto* control = new QWidget(central);
    auto* dialog = new QDialog(&main);
    auto* inDialog = new QWidget(new QWidget(dialog));
    EXPECT_EQ(GetOwnerFormHandle(control), &main);
    EXPECT_EQ(GetOwnerFormHandle(inDialog), dialog);
    EXPECT_EQ(GetOwnerFormHandle(&main), &main);
    EXPECT_EQ(GetOwnerFormHandle(nullptr), nullptr);
}

} // namespace
} // namespace quarn::test
