// The Send To submenu of the context menus, filled from a Send To folder of the test's own:
// its entries, their order, texts and icons, and the letter keys typed in it.
#include "shell/sendto/SendToMenu.h"

#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/menus/ShellContextMenus.h"

#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;

// Each item as "<id> <text>", with " (icon)" and " (grayed)".
std::vector<std::string> Items(const QMenu& popup) {
    std::vector<std::string> shown;
    for (const QAction* action : popup.actions()) {
        shown.push_back(std::to_string(action->data().toInt()) + " " +
                        action->text().toStdString() + (action->icon().isNull() ? "" : " (icon)") +
                        (action->isEnabled() ? "" : " (grayed)"));
    }
    return shown;
}

// The Send To folder: two entries that begin with "A" and "a", a link to a folder, a plain
// file, a name with "&"; beside them a hidden entry and a folder, which are no entries.
class SendToMenu : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(SendTo());
        fs::create_directory(data / "target");
        for (const char* name : {"Alpha Editor.desktop", "notes.txt", "Tom & Jerry.desktop",
                                 "zeta.desktop", ".secret.desktop"}) {
            WriteFileBytes(SendTo(name), "");
        }
        fs::create_directory_symlink(data / "target", SendTo("archive"));
        fs::create_directory(SendTo("Folder"));
        WriteFileBytes(dir / "a.txt", "a");
    }

    std::string SendTo(const std::string& name = "") const {
        return data / ("Ostrel/Quarn!/SendTo/" + name);
    }

    // The context menu of a.txt, its Send To submenu connected as the controls connect it.
    void Build() {
        const PidlPtr folderList = ParsePath(dir.Path().string());
        ComPtr<IShellFolder> folder;
        ASSERT_EQ(GetPidlFolder(folderList.get(), folder), S_OK);
        const PidlPtr file = ParsePath(dir / "a.txt");
        LPCITEMIDLIST child = file.get();
        while (HasItems(NextItem(child))) {
            child = NextItem(child);
        }
        ASSERT_EQ(BuildShellContextMenu(nullptr, folder.get(), 1, &child, FirstCommandId,
                                        CMF_EXPLORE, menu, contextMenu),
                  MakeSuccessCode(26));
        ConnectSendToMenu(*menu, contextMenu);
    }

    QMenu& Popup() const {
        for (const QAction* action : menu->actions()) {
            if (action->menu()) {
                return *action->menu();
            }
        }
        throw std::logic_error("no submenu");
    }

    std::vector<std::string> Opened() const {
        emit Popup().aboutToShow();
        return Items(Popup());
    }

    // Tracks the menu, typing each key into whichever level is open at the time.
    int TrackWithKeys(const std::vector<Qt::Key>& keys) {
        QTimer::singleShot(50, [keys] {
            for (const Qt::Key key : keys) {
                QWidget* popup = QApplication::activePopupWidget();
                ASSERT_NE(popup, nullptr) << "closed before key " << key;
                QTest::keyClick(popup, key);
            }
        });
        return TrackPopupMenu(*menu, QPoint(100, 100));
    }

    TempDir data;
    ScopedEnvironment dataHome{"XDG_DATA_HOME", data.Path().string()};
    TempDir dir;
    std::unique_ptr<QMenu> menu;
    ComPtr<IContextMenu> contextMenu;
    ScopedScriptedMessages messages;
};

TEST_F(SendToMenu, EntriesSortedWithoutExtensionWithIcons) {
    Build();
    EXPECT_THAT(Items(Popup()), ElementsAre("0 (empty) (grayed)")) << "before it opens";
    EXPECT_THAT(Opened(), ElementsAre("1 Alpha Editor (icon)", "2 archive (icon)", "3 notes (icon)",
                                      "4 Tom && Jerry (icon)", "5 zeta (icon)"));
    ASSERT_EQ(SendToList().Count(), 5);
    EXPECT_EQ(SendToList().At(3).name, "Tom & Jerry.desktop");
    EXPECT_THAT(Opened(), ::testing::SizeIs(5)) << "opened again, it stays as filled";
}

// The folder is read each time a menu opens: a removed entry is gone, a new one is there.
TEST_F(SendToMenu, EntriesFollowTheFolder) {
    Build();
    Opened();
    fs::remove(SendTo("notes.txt"));
    WriteFileBytes(SendTo("mail.desktop"), "");
    Build();
    EXPECT_THAT(Opened(), ElementsAre("1 Alpha Editor (icon)", "2 archive (icon)", "3 mail (icon)",
                                      "4 Tom && Jerry (icon)", "5 zeta (icon)"));
}

// Identifiers from 1000 on are the shell's commands: entry 1000 would be "Open".
TEST_F(SendToMenu, AtMost999Entries) {
    for (int i = 0; i < 1000; ++i) {
        WriteFileBytes(SendTo("many " + std::to_string(i)), "");
    }
    Build();
    const std::vector<std::string> items = Opened();
    ASSERT_EQ(items.size(), 999u);
    EXPECT_EQ(Popup().actions().back()->data().toInt(), 999);
}

TEST_F(SendToMenu, OtherPopupsStayAsBuilt) {
    Build();
    QMenu enabled;
    enabled.addAction(QStringLiteral("enabled"));
    QMenu several;
    several.addAction(QStringLiteral("one"))->setEnabled(false);
    several.addAction(QStringLiteral("two"))->setEnabled(false);
    for (QMenu* popup : {&enabled, &several}) {
        const std::vector<std::string> before = Items(*popup);
        HandleContextMenuInitPopup(*popup, contextMenu.get(), SendToList());
        EXPECT_EQ(Items(*popup), before);
    }
    HandleContextMenuInitPopup(Popup(), nullptr, SendToList());
    EXPECT_THAT(Items(Popup()), ElementsAre("0 (empty) (grayed)")) << "no menu object";
}

TEST_F(SendToMenu, MenuCharAnswers) {
    TSendToList list;
    for (const char* name : {"Alpha.desktop", "apple.desktop", "Beta.desktop", "éclair"}) {
        list.Add(name, -1);
    }
    using enum MenuCharCommand;
    const struct {
        char16_t ch;
        int highlighted;
        MenuCharCommand command;
        int entry;
    } cases[] = {
        {u'a', -1, Select, 0},                       // nothing highlighted: from the first
        {u'A', 0, Select, 1},  {u'a', 1, Select, 0}, // two begin so: they take turns
        {u'a', 2, Select, 0},  {u'b', -1, Execute, 2}, {u'B', 2, Execute, 2},
        {u'É', 0, Execute, 3}, {u'x', 1, Close, -1},
    };
    for (const auto& c : cases) {
        const MenuCharResult result = HandleContextMenuChar(QChar(c.ch), c.highlighted, list);
        EXPECT_EQ(result.command, c.command) << char(c.ch) << " from " << c.highlighted;
        EXPECT_EQ(result.entry, c.entry) << char(c.ch) << " from " << c.highlighted;
    }
}

// Down to Send To, Right opens it with its first entry highlighted, then letters.
TEST_F(SendToMenu, LetterKeysSelectCycleExecuteAndClose) {
    Build();
    const std::vector<Qt::Key> toSendTo = {Qt::Key_Down, Qt::Key_Down, Qt::Key_Right};
    const auto then = [&](std::vector<Qt::Key> keys) {
        keys.insert(keys.begin(), toSendTo.begin(), toSendTo.end());
        return keys;
    };
    EXPECT_EQ(TrackWithKeys(then({Qt::Key_Z})), 5) << "the only entry: run at once";
    EXPECT_EQ(TrackWithKeys(then({Qt::Key_A, Qt::Key_Return})), 2) << "the next of two";
    EXPECT_EQ(TrackWithKeys(then({Qt::Key_A, Qt::Key_A, Qt::Key_Return})), 1) << "round again";
    EXPECT_EQ(TrackWithKeys(then({Qt::Key_Q})), 0) << "no entry: the menu closes";
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
}

} // namespace
} // namespace quarn::test
