// The main window's favorites commands: the menu rebuilt when it opens, going to a favorite or
// removing a missing one, Add to Favorites, and when the "Favorites" value is written.
#include "app/FavoritesCommands.h"

#include "DialogsFixture.h"
#include "FormChild.h"
#include "app/Favorites.h"
#include "app/FavoritesStore.h"
#include "platform/QuarnRegistryKey.h"

#include <QAction>
#include <QPushButton>
#include <QToolButton>
#include <filesystem>

namespace quarn {
namespace {

using test::FormChild;

constexpr char GotoFailed[] =
    "An unexpected error has occurred: Quarn! was unable to goto the folder that the selected "
    "favorite references. Please try again.";
constexpr char WriteFailed[] =
    "An unexpected error has occurred: Quarn! was unable to save your favorites.";
constexpr char ReplaceUnreadable[] =
    "Quarn! cannot read the favorites stored before, so saving this change replaces them and "
    "they are lost.\r\n\r\nDo you want to replace the stored favorites?";

class FavoritesCommandsTest : public test::DialogsFixture {
protected:
    FavoritesCommandsTest() {
        for (const std::string& folder : {data_, lowerData_, ampersand_}) {
            std::filesystem::create_directory(folder);
        }
    }

    std::string StoredValue() {
        TRegistry key;
        EXPECT_TRUE(key.OpenKeyReadOnly(QuarnRegistryKey));
        return key.ReadString("Favorites");
    }

    void StoreValue(const std::string& value) {
        TRegistry key;
        ASSERT_TRUE(key.OpenKey(QuarnRegistryKey, true));
        key.WriteString("Favorites", value);
    }

    // The list the stored value holds.
    std::vector<std::string> StoredFavorites() {
        TFavoritesList stored;
        LoadFavorites(host_.rijndael, StoredValue(), stored);
        return stored.Items();
    }

    QAction* MenuItem(qsizetype index) { return host_.Favorites1.actions().at(index); }

    const std::string data_ = folders_ / "Data";
    const std::string lowerData_ = folders_ / "data";
    const std::string ampersand_ = folders_ / "Letters & Bills";
};

TEST_F(FavoritesCommandsTest, MenuListsTheFavoritesAfterItsFixedItemsWithAmpersandsDoubled) {
    Favorites1Click(host_.Favorites1, host_);
    EXPECT_TRUE(host_.FavoriteCaptions().isEmpty());

    host_.favorites.Add(data_);
    host_.favorites.Add(ampersand_);
    Favorites1Click(host_.Favorites1, host_);
    Favorites1Click(host_.Favorites1, host_); // rebuilt, not appended
    const QString folder = QString::fromStdString(folders_.Path().string());
    EXPECT_EQ(host_.FavoriteCaptions(),
              (QStringList{folder + "/Data", folder + "/Letters && Bills"}));
    EXPECT_EQ(MenuItem(0)->objectName(), "ManageFavorites1");
    EXPECT_EQ(MenuItem(1)->objectName(), "AddToFavorites1");
    EXPECT_TRUE(MenuItem(2)->isSeparator());

    MenuItem(4)->trigger();
    EXPECT_EQ(host_.visited, std::vector<std::string>{ampersand_});
    EXPECT_EQ(host_.statusUpdates, 1);
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FavoritesCommandsTest, AFolderTheTreeCannotReachGivesTheError) {
    host_.goToFails = true;
    FavoriteMenuClick(data_, host_);
    EXPECT_EQ(messages_->Texts(), std::vector<std::string>{GotoFailed});
    EXPECT_EQ(host_.statusUpdates, 0);
}

TEST_F(FavoritesCommandsTest, AMissingFolderMayBeRemovedFromTheFavorites) {
    const std::string gone = folders_ / "Gone & Forgotten";
    host_.favorites.Add(gone);
    SaveFavorites(host_.registry, host_.rijndael, host_.favorites);
    const std::string question = "The folder that the selected favorite references no longer "
                                 "exists.\r\n\r\nWould you like to remove the selected favorite '" +
                                 gone + "'?";

    messages_->QueueAnswer(MessageAnswer::No);
    FavoriteMenuClick(gone, host_);
    EXPECT_EQ(messages_->Texts(), std::vector<std::string>{question});
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Confirmation);
    EXPECT_EQ(messages_->shown[0].buttons, MessageButtons::YesNo);
    EXPECT_TRUE(host_.favorites.Contains(gone));

    messages_->shown.clear();
    messages_->QueueAnswer(MessageAnswer::Yes);
    FavoriteMenuClick(gone, host_);
    EXPECT_EQ(messages_->Texts(),
              (std::vector<std::string>{question, "The selected favorite '" + gone +
                                                      "', has been removed."}));
    EXPECT_EQ(messages_->shown[1].kind, MessageKind::Information);
    EXPECT_TRUE(host_.favorites.Empty());
    EXPECT_EQ(StoredValue(), "") << "the last favorite removed stores an empty value";
    EXPECT_TRUE(host_.visited.empty());
}

TEST_F(FavoritesCommandsTest, RemovingAFavoriteNoLongerListedIsRefused) {
    messages_->QueueAnswer(MessageAnswer::Yes);
    FavoriteMenuClick("/no/such/folder", host_);
    ASSERT_EQ(messages_->shown.size(), 2u);
    EXPECT_EQ(messages_->shown[1].text, "Quarn! was unable to remove the selected favorite: the "
                                        "folder '/no/such/folder' could not be located.");
    EXPECT_EQ(messages_->shown[1].kind, MessageKind::Warning);
}

TEST_F(FavoritesCommandsTest, AddToFavoritesTakesTheTreesFolderOnceComparingExactly) {
    host_.SelectFolder("", "Trash");
    AddToFavorites1Click(host_);
    host_.SelectFolder(data_, "Data");
    AddToFavorites1Click(host_);
    AddToFavorites1Click(host_);
    host_.SelectFolder(lowerData_, "data");
    AddToFavorites1Click(host_);
    EXPECT_EQ(messages_->Texts(),
              (std::vector<std::string>{
                  "'Trash' is not a folder. Only folders can be added to Favorites.",
                  "'" + data_ + "' has been added to your favorites.",
                  "'" + data_ + "' is already in your favorites.",
                  "'" + lowerData_ + "' has been added to your favorites."}));
    for (const test::ShownMessage& shown : messages_->shown) {
        EXPECT_EQ(shown.kind, MessageKind::Information);
    }
    EXPECT_EQ(StoredFavorites(), (std::vector<std::string>{data_, lowerData_}));
}

TEST_F(FavoritesCommandsTest, AnAddThatCannotBeSavedStaysInTheListForTheRun) {
    ASSERT_TRUE(TRegistry().OpenKey(QuarnRegistryKey, true));
    std::filesystem::remove(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    std::filesystem::create_directory(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    host_.SelectFolder(ampersand_, "Letters & Bills");
    AddToFavorites1Click(host_);
    EXPECT_EQ(messages_->Texts(), std::vector<std::string>{WriteFailed});
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
    EXPECT_TRUE(host_.favorites.Contains(ampersand_));
}

// A damaged value is reported at start and left as it is until the favorites really change:
// opening the menu or confirming the manager without a change writes nothing, and the first
// change asks before it replaces the value.
TEST_F(FavoritesCommandsTest, ADamagedValueIsReplacedOnlyByTheNextRealChange) {
    const std::string damaged = "damaged by hand!";
    StoreValue(damaged);
    LoadFavorites(host_.rijndael, StoredValue(), host_.favorites);
    EXPECT_EQ(messages_->Texts(), std::vector<std::string>{"Quarn! was unable to load your "
                                                           "Favorites: An unknown error has "
                                                           "occurred."});
    Favorites1Click(host_.Favorites1, host_);
    WhenShown<TfFavorites>(
        [](TfFavorites& manager) { FormChild<QPushButton>(&manager, "bOk")->click(); });
    tbFavoritesClick(host_);
    EXPECT_EQ(StoredValue(), damaged);

    host_.SelectFolder(data_, "Data");
    messages_->QueueAnswer(MessageAnswer::Yes);
    AddToFavorites1Click(host_);
    EXPECT_EQ(StoredFavorites(), std::vector<std::string>{data_});
    ASSERT_EQ(messages_->shown.size(), 3u);
    EXPECT_EQ(messages_->shown[1].text, ReplaceUnreadable);
    EXPECT_EQ(messages_->shown[1].buttons, MessageButtons::YesNo);
}

// No keeps the stored value and the favorites as they were, whichever command asked.
TEST_F(FavoritesCommandsTest, ADamagedValueStaysWhenTheUserWillNotReplaceIt) {
    const std::string damaged = "damaged by hand!";
    StoreValue(damaged);
    host_.SelectFolder(data_, "Data");
    AddToFavorites1Click(host_); // the scripted boxes answer No
    WhenShown<TfFavorites>([this](TfFavorites& manager) {
        messages_->QueueFolder(lowerData_);
        FormChild<QToolButton>(&manager, "tbAdd")->click();
        FormChild<QPushButton>(&manager, "bOk")->click();
    });
    tbFavoritesClick(host_);
    host_.favorites.Add(folders_ / "Gone");
    Favorites1Click(host_.Favorites1, host_);
    messages_->QueueAnswer(MessageAnswer::Yes); // remove the missing favorite ...
    MenuItem(3)->trigger();                     // ... but not at the price of the stored ones
    EXPECT_EQ(messages_->Texts(),
              (std::vector<std::string>{
                  ReplaceUnreadable, ReplaceUnreadable,
                  "The folder that the selected favorite references no longer exists.\r\n\r\n"
                  "Would you like to remove the selected favorite '" +
                      (folders_ / "Gone") + "'?",
                  ReplaceUnreadable}));
    EXPECT_EQ(StoredValue(), damaged);
    EXPECT_EQ(host_.favorites.Items(), std::vector<std::string>{folders_ / "Gone"});
}

// A line break in a folder's name (legal on Linux) cannot be stored: such a folder is refused
// by name, with its line break shown as its symbol, and the stored favorites still load.
TEST_F(FavoritesCommandsTest, AFolderWhosePathHoldsALineBreakIsRefused) {
    host_.SelectFolder(data_, "Data");
    AddToFavorites1Click(host_);
    const std::string stored = StoredValue();
    const std::pair<const char*, const char*> names[] = {
        {"two\nlines", "two\u240Alines"}, {"carriage\rreturn", "carriage\u240Dreturn"}};
    for (const auto& [name, shown] : names) {
        const std::string folder = folders_ / name;
        std::filesystem::create_directory(folder);
        messages_->shown.clear();
        host_.SelectFolder(folder, name);
        AddToFavorites1Click(host_);
        messages_->QueueFolder(folder);
        WhenShown<TfFavorites>([this](TfFavorites& manager) {
            FormChild<QToolButton>(&manager, "tbAdd")->click();
            FormChild<QToolButton>(&manager, "tbAddCurrent")->click();
            EXPECT_EQ(manager.Items(), std::vector<std::string>{data_});
            FormChild<QPushButton>(&manager, "bOk")->click();
        });
        tbFavoritesClick(host_);
        const std::string refused = "'" + (folders_ / shown) +
                                    "' cannot be added to your favorites: its path holds a line "
                                    "break, which your favorites cannot store.";
        EXPECT_EQ(messages_->Texts(), std::vector<std::string>(3, refused));
        EXPECT_EQ(messages_->shown[0].kind, MessageKind::Information);
        EXPECT_EQ(host_.favorites.Items(), std::vector<std::string>{data_});
        EXPECT_EQ(StoredValue(), stored);
    }
}

} // namespace
} // namespace quarn
