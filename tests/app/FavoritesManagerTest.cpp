// The favorites manager: its list and tool bar, Goto, Add, Add current and Remove, the keys,
// the modal results, help, and what the main window saves afterwards.
#include "DialogsFixture.h"
#include "FormChild.h"
#include "app/Favorites.h"
#include "app/FavoritesCommands.h"
#include "app/FavoritesStore.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/gui/DesignScale.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>
#include <QWhatsThis>
#include <filesystem>

namespace quarn {
namespace {

using test::FormChild;
using Paths = std::vector<std::string>;

class FavoritesManagerTest : public test::DialogsFixture {
protected:
    FavoritesManagerTest() {
        for (const std::string& folder : {a_, b_, c_}) {
            std::filesystem::create_directory(folder);
        }
        for (const std::string& folder : {a_, b_, c_}) {
            manager_.AddItem(folder);
        }
    }

    void ShowActive() {
        manager_.show();
        manager_.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&manager_));
    }

    QTreeWidget* List() { return FormChild<QTreeWidget>(&manager_, "lvFavorites"); }
    void Click(const char* button) { FormChild<QToolButton>(&manager_, button)->click(); }

    void Select(const std::string& path) {
        for (int row = 0; row < List()->topLevelItemCount(); ++row) {
            QTreeWidgetItem* item = List()->topLevelItem(row);
            if (item->text(0).toStdString() == path) {
                List()->setCurrentItem(item);
                return;
            }
        }
        FAIL() << "no item " << path;
    }

    std::string Selected() {
        const QList<QTreeWidgetItem*> items = List()->selectedItems();
        return items.isEmpty() ? "" : items.constFirst()->text(0).toStdString();
    }

    std::string StoredValue() {
        TRegistry key;
        EXPECT_TRUE(key.OpenKeyReadOnly(QuarnRegistryKey));
        return key.ReadString("Favorites");
    }

    Paths StoredFavorites() {
        TFavoritesList stored;
        LoadFavorites(host_.rijndael, StoredValue(), stored);
        return stored.Items();
    }

    const std::string a_ = folders_ / "Alpha";
    const std::string b_ = folders_ / "beta";
    const std::string c_ = folders_ / "Gamma";
    TfFavorites manager_{host_};
};

TEST_F(FavoritesManagerTest, ShowsTheFavoritesSortedUnderItsToolBar) {
    EXPECT_EQ(manager_.windowTitle(), "Favorites");
    EXPECT_EQ(manager_.focusWidget(), List());
    EXPECT_EQ(manager_.Items(), (Paths{a_, b_, c_}));
    EXPECT_EQ(List()->headerItem()->text(0), "Folders");
    EXPECT_EQ(List()->columnCount(), 1);
    EXPECT_FALSE(List()->header()->sectionsClickable());
    const std::pair<const char*, const char*> hints[] = {
        {"tbGoto", "Goto the selected Favorite"},
        {"tbAdd", "Add a new Favorite"},
        {"tbAddCurrent", "Add the current folder as a new Favorite"},
        {"tbRemove", "Remove the selected Favorite"}};
    for (const auto& [button, hint] : hints) {
        auto* tool = FormChild<QToolButton>(&manager_, button);
        EXPECT_EQ(tool->toolTip(), hint);
        EXPECT_EQ(tool->accessibleName(), hint);
        EXPECT_EQ(tool->icon().actualSize(QSize(23, 23)), QSize(23, 23)) << button;
    }
    EXPECT_EQ(FormChild<QPushButton>(&manager_, "bOk")->text(), "OK");
    EXPECT_EQ(FormChild<QPushButton>(&manager_, "bCancel")->text(), "Cancel");
    EXPECT_EQ(manager_.size(), DesignScale::Of(manager_)(QSize(358, 220)));
    EXPECT_TRUE(manager_.windowFlags().testFlag(Qt::WindowContextHelpButtonHint));
}

TEST_F(FavoritesManagerTest, AddSelectsTheNewFolderOrTheOneListedAlready) {
    const std::string inside = a_ + "/Projects";
    const std::string upper = folders_ / "BETA";
    std::filesystem::create_directory(inside);
    std::filesystem::create_directory(upper);
    for (const std::optional<std::string>& chosen :
         {std::optional<std::string>(inside), std::optional<std::string>(b_),
          std::optional<std::string>(std::nullopt), std::optional<std::string>(upper)}) {
        messages_->QueueFolder(chosen);
        Click("tbAdd");
        if (chosen) {
            EXPECT_EQ(Selected(), *chosen);
        }
    }
    EXPECT_EQ(messages_->folderRequests, Paths(4, "New Favorite:"));
    EXPECT_EQ(manager_.Items(), (Paths{a_, inside, upper, b_, c_}));
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FavoritesManagerTest, AddCurrentTakesTheTreesFolderOrSaysItIsNone) {
    const std::string current = folders_ / "Current";
    std::filesystem::create_directory(current);
    host_.SelectFolder(current, "Current");
    Click("tbAddCurrent");
    EXPECT_EQ(Selected(), current);
    host_.SelectFolder("", "Computer");
    Click("tbAddCurrent");
    EXPECT_EQ(messages_->Texts(),
              Paths{"'Computer' is not a folder. Only folders can be added to Favorites."});
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Information);
}

TEST_F(FavoritesManagerTest, RemoveSelectsTheNextFavorite) {
    Click("tbRemove"); // nothing selected: nothing removed
    EXPECT_EQ(manager_.Items().size(), 3u);
    Select(b_);
    Click("tbRemove");
    EXPECT_EQ(Selected(), c_);
    Click("tbRemove");
    EXPECT_EQ(Selected(), a_);
    Click("tbRemove");
    EXPECT_TRUE(manager_.Items().empty());
    FormChild<QPushButton>(&manager_, "bOk")->click();
    EXPECT_EQ(manager_.result(), QDialog::Accepted);
}

TEST_F(FavoritesManagerTest, OkWithoutAChangeIsIgnoreAndCancelIsCancel) {
    messages_->QueueFolder(b_); // listed already: no change
    Click("tbAdd");
    FormChild<QPushButton>(&manager_, "bOk")->click();
    EXPECT_EQ(manager_.result(), mrIgnore);
    manager_.show();
    FormChild<QPushButton>(&manager_, "bCancel")->click();
    EXPECT_EQ(manager_.result(), QDialog::Rejected);
}

TEST_F(FavoritesManagerTest, GotoMovesTheTreeAndClosesAsOk) {
    Click("tbGoto"); // nothing selected: nothing happens
    EXPECT_TRUE(host_.visited.empty());
    ShowActive();
    Select(c_);
    Click("tbGoto");
    EXPECT_EQ(host_.visited, Paths{c_});
    EXPECT_EQ(host_.statusUpdates, 1);
    EXPECT_FALSE(manager_.isVisible());
    EXPECT_EQ(manager_.result(), mrIgnore);

    ShowActive();
    Select(a_);
    Click("tbRemove");
    Click("tbGoto");
    EXPECT_EQ(manager_.result(), QDialog::Accepted) << "after a change, Goto closes as OK";
}

TEST_F(FavoritesManagerTest, GotoThatFailsKeepsTheManagerOpen) {
    ShowActive();
    host_.goToFails = true;
    Select(a_);
    Click("tbGoto");
    EXPECT_EQ(messages_->Texts(), Paths{"An unexpected error has occurred: Quarn! was unable to "
                                        "goto the folder that the selected favorite references. "
                                        "Please try again."});
    EXPECT_TRUE(manager_.isVisible());
}

TEST_F(FavoritesManagerTest, GotoAMissingFolderOffersToRemoveIt) {
    ShowActive();
    std::filesystem::remove(b_);
    const std::string question = "The folder that the selected favorite references no longer "
                                 "exists.\r\n\r\nWould you like to remove the selected favorite?";
    Select(b_);
    messages_->QueueAnswer(MessageAnswer::No);
    Click("tbGoto");
    EXPECT_EQ(manager_.Items().size(), 3u);
    messages_->QueueAnswer(MessageAnswer::Yes);
    Click("tbGoto");
    EXPECT_EQ(messages_->Texts(), Paths(2, question));
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::YesNo);
    EXPECT_EQ(manager_.Items(), (Paths{a_, c_}));
    EXPECT_TRUE(manager_.isVisible());
    EXPECT_TRUE(host_.visited.empty());
}

// Insert adds, Delete removes, Enter in the list goes: each on the key's release, and only
// when the manager saw the key pressed too.
TEST_F(FavoritesManagerTest, KeysAddRemoveAndGo) {
    ShowActive();
    List()->setFocus();
    Select(a_);
    QTest::keyClick(List(), Qt::Key_Delete);
    EXPECT_EQ(manager_.Items(), (Paths{b_, c_}));
    EXPECT_EQ(Selected(), b_);

    QTest::keyClick(List(), Qt::Key_Insert);
    EXPECT_EQ(messages_->folderRequests, Paths{"New Favorite:"});

    QTest::keyRelease(List(), Qt::Key_Return); // pressed elsewhere, in a closed message box
    EXPECT_TRUE(host_.visited.empty());
    QTest::keyPress(List(), Qt::Key_Return);
    EXPECT_TRUE(manager_.isVisible()) << "Enter in the list is not the OK button's";
    QTest::keyRelease(List(), Qt::Key_Return);
    EXPECT_EQ(host_.visited, Paths{b_});
    EXPECT_FALSE(manager_.isVisible());
}

TEST_F(FavoritesManagerTest, DoubleClickGoesToTheFavorite) {
    ShowActive();
    QTreeWidgetItem* item = List()->topLevelItem(2);
    const QPoint centre = List()->visualItemRect(item).center();
    QTest::mouseClick(List()->viewport(), Qt::LeftButton, {}, centre);
    QTest::mouseDClick(List()->viewport(), Qt::LeftButton, {}, centre);
    EXPECT_EQ(host_.visited, Paths{c_});
}

TEST_F(FavoritesManagerTest, F1AndTheCaptionButtonShowTheFavoritesTopic) {
    UseHelpControl();
    ShowActive();
    QTest::keyRelease(List(), Qt::Key_F1);
    EXPECT_EQ(HelpWindowTitles(), QStringList{"Quarn! Help - Favorites"});
    CloseAllHelpWindows();
    manager_.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&manager_));
    QWhatsThis::enterWhatsThisMode();
    QCoreApplication::processEvents();
    EXPECT_FALSE(QWhatsThis::inWhatsThisMode());
    EXPECT_EQ(HelpWindowTitles(), QStringList{"Quarn! Help - Favorites"});
    EXPECT_TRUE(messages_->shown.empty());
}

// Manage Favorites... from the main window: the manager's list replaces the favorites and is
// saved only when it differs from them.
class ManageFavoritesTest : public FavoritesManagerTest {
protected:
    ManageFavoritesTest() {
        host_.favorites.Add(a_);
        host_.favorites.Add(b_);
        SaveFavorites(host_.registry, host_.rijndael, host_.favorites);
    }

    // Opens the manager from the main window and runs act in it.
    void Manage(std::function<void(TfFavorites&)> act) {
        WhenShown<TfFavorites>(std::move(act));
        tbFavoritesClick(host_);
    }

    static void Press(TfFavorites& manager, const char* button) {
        FormChild<QAbstractButton>(&manager, button)->click();
    }
};

TEST_F(ManageFavoritesTest, TheEditedListIsSavedAfterOk) {
    Manage([this](TfFavorites& manager) {
        EXPECT_EQ(manager.Items(), (Paths{a_, b_}));
        messages_->QueueFolder(c_);
        Press(manager, "tbAdd");
        Press(manager, "bOk");
    });
    EXPECT_EQ(host_.favorites.Items(), (Paths{a_, b_, c_}));
    EXPECT_EQ(StoredFavorites(), (Paths{a_, b_, c_}));
    EXPECT_FALSE(QApplication::overrideCursor());
}

// A folder name that is not UTF-8 is kept byte for byte through the manager and the menu.
TEST_F(ManageFavoritesTest, NamesThatAreNotUtf8SurviveTheManagerAndTheMenu) {
    const std::string latin1 = folders_ / "Caf\xe9";
    std::filesystem::create_directory(latin1);
    host_.favorites.Add(latin1);
    Manage([this](TfFavorites& manager) {
        messages_->QueueFolder(c_);
        Press(manager, "tbAdd");
        Press(manager, "bOk");
    });
    EXPECT_EQ(StoredFavorites(), (Paths{a_, b_, latin1, c_}));
    Favorites1Click(host_.Favorites1, host_);
    host_.Favorites1.actions().at(5)->trigger();
    EXPECT_EQ(host_.visited, Paths{latin1});
}

TEST_F(ManageFavoritesTest, CancelAndUnchangedListsWriteNothing) {
    // The value as another Quarn left it: only a real change replaces it.
    TFavoritesList other;
    other.Add(c_);
    SaveFavorites(host_.registry, host_.rijndael, other);
    const std::string stored = StoredValue();
    Manage([](TfFavorites& manager) { Press(manager, "bOk"); });
    Manage([this](TfFavorites& manager) {
        messages_->QueueFolder(c_);
        Press(manager, "tbAdd");
        Press(manager, "bCancel");
    });
    Manage([this](TfFavorites& manager) {
        messages_->QueueFolder(c_);
        Press(manager, "tbAdd");
        Press(manager, "tbRemove"); // the new one, selected: the list is as it was
        Press(manager, "bOk");
    });
    EXPECT_EQ(StoredValue(), stored);
    EXPECT_EQ(host_.favorites.Items(), (Paths{a_, b_}));
}

TEST_F(ManageFavoritesTest, RemovingTheLastFavoriteStoresAnEmptyValue) {
    Manage([](TfFavorites& manager) {
        for (int i = 0; i < 2; ++i) {
            FormChild<QTreeWidget>(&manager, "lvFavorites")
                ->setCurrentItem(FormChild<QTreeWidget>(&manager, "lvFavorites")->topLevelItem(0));
            Press(manager, "tbRemove");
        }
        Press(manager, "bOk");
    });
    EXPECT_TRUE(host_.favorites.Empty());
    EXPECT_EQ(StoredValue(), "");
}

TEST_F(ManageFavoritesTest, AListThatCannotBeSavedGivesItsMessage) {
    std::filesystem::remove(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    std::filesystem::create_directory(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    Manage([this](TfFavorites& manager) {
        messages_->QueueFolder(c_);
        Press(manager, "tbAdd");
        Press(manager, "bOk");
    });
    EXPECT_EQ(messages_->Texts(),
              Paths{"An unexpected error has occurred: Quarn! was unable to save your "
                    "favorites."});
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(host_.favorites.Items(), (Paths{a_, b_, c_}));
    EXPECT_FALSE(QApplication::overrideCursor());
}

} // namespace
} // namespace quarn
