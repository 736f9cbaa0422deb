// The favorites list and its "Favorites" value: the order, exact comparison of paths, the
// encrypted Base64 text, loading damaged values and failed saves.
#include "app/FavoritesStore.h"

#include "CaseNames.h"
#include "DialogsFixture.h"
#include "app/FavoritesList.h"
#include "platform/QuarnRegistryKey.h"

#include <QRegularExpression>
#include <filesystem>

namespace quarn {
namespace {

using test::ShownMessage;

constexpr char WriteFailed[] =
    "An unexpected error has occurred: Quarn! was unable to save your favorites.";

TFavoritesList ListOf(std::initializer_list<const char*> paths) {
    TFavoritesList list;
    for (const char* path : paths) {
        list.Add(path);
    }
    return list;
}

// A component set up as the value's format says, with the constants written out here.
void UseValueFormat(TRijndael& cipher, const char* key = "{58C1E2B9-0F4D-4A73-B26E-91A4C7D803FE}") {
    cipher.CipherMode = CBC;
    cipher.KeySize = Large256;
    cipher.StringMode = smMime;
    cipher.SetIV("{A3D05F18-7C92-4B4E-8E61-D2F9037B5C4A}");
    cipher.SetKey(key);
}

std::string Decrypted(const std::string& value) {
    TRijndael cipher;
    UseValueFormat(cipher);
    return cipher.DecryptString(value);
}

std::string Encrypted(const std::string& text,
                      const char* key = "{58C1E2B9-0F4D-4A73-B26E-91A4C7D803FE}") {
    TRijndael cipher;
    UseValueFormat(cipher, key);
    return cipher.EncryptString(text);
}

class FavoritesStoreTest : public test::DialogsFixture {
protected:
    std::string StoredValue() {
        TRegistry key;
        EXPECT_TRUE(key.OpenKeyReadOnly(QuarnRegistryKey));
        EXPECT_EQ(key.GetDataType("Favorites"), RegistryDataType::String);
        return key.ReadString("Favorites");
    }

    void ExpectCipherLeftClean(TCipherMode mode = CBC, TKeySize keySize = Large256) {
        EXPECT_EQ(host_.rijndael.StringMode, smNormal);
        EXPECT_EQ(host_.rijndael.CipherMode, mode);
        EXPECT_EQ(host_.rijndael.KeySize, keySize);
        EXPECT_FALSE(host_.rijndael.KeySet());
        EXPECT_FALSE(host_.rijndael.IVSet());
    }
};

TEST(FavoritesList, StoresOnlyAbsolutePathsWithoutLineBreaks) {
    EXPECT_TRUE(TFavoritesList::CanStore("/srv/Data & more"));
    for (const std::string& path : {std::string("srv"), std::string("/srv/two\nlines"),
                                    std::string("/srv/a\rb"), std::string("/srv/a\0b", 8)}) {
        EXPECT_FALSE(TFavoritesList::CanStore(path)) << path;
    }
}

TEST(FavoritesList, KeepsPathsSortedOnceAndComparesThemExactly) {
    TFavoritesList list = ListOf({"/x/data", "/srv", "/x/Data/Projects", "/x/Data", "/x/data"});
    EXPECT_EQ(list.Items(),
              (std::vector<std::string>{"/srv", "/x/Data", "/x/data", "/x/Data/Projects"}));
    EXPECT_FALSE(list.Add("/x/Data"));
    EXPECT_TRUE(list.Contains("/x/data"));
    EXPECT_FALSE(list.Contains("/X/data"));
    EXPECT_TRUE(list.Remove("/x/data"));
    EXPECT_FALSE(list.Remove("/x/data"));
    EXPECT_EQ(list.Text(), "/srv\r\n/x/Data\r\n/x/Data/Projects\r\n");
}

TEST_F(FavoritesStoreTest, ValueIsBase64OfTheListEncryptedUnderTheConstantKeyAndIV) {
    host_.favorites = ListOf({"/home/me/B & C", "/home/me/a"});
    SaveFavorites(host_.registry, host_.rijndael, host_.favorites);
    const std::string value = StoredValue();
    EXPECT_TRUE(QRegularExpression("^([A-Za-z0-9+/]{4})+([A-Za-z0-9+/]{2}==|[A-Za-z0-9+/]{3}=)?$")
                    .match(QString::fromStdString(value))
                    .hasMatch())
        << value;
    EXPECT_EQ(Decrypted(value), "/home/me/a\r\n/home/me/B & C\r\n");
    ExpectCipherLeftClean();

    TFavoritesList loaded;
    LoadFavorites(host_.rijndael, value, loaded);
    EXPECT_EQ(loaded, host_.favorites);
    ExpectCipherLeftClean();
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FavoritesStoreTest, TheComponentGetsItsOwnModeBackAfterEachUse) {
    host_.rijndael.CipherMode = OFB;
    host_.rijndael.KeySize = Small128;
    host_.favorites = ListOf({"/srv"});
    SaveFavorites(host_.registry, host_.rijndael, host_.favorites);
    ExpectCipherLeftClean(OFB, Small128);
    EXPECT_EQ(Decrypted(StoredValue()), "/srv\r\n");
}

TEST_F(FavoritesStoreTest, AnEmptyListStoresAnEmptyValue) {
    SaveFavorites(host_.registry, host_.rijndael, ListOf({"/srv"}));
    SaveFavorites(host_.registry, host_.rijndael, TFavoritesList{});
    EXPECT_EQ(StoredValue(), "");
    TFavoritesList loaded = ListOf({"/kept"});
    LoadFavorites(host_.rijndael, "", loaded);
    EXPECT_EQ(loaded, ListOf({"/kept"}));
    EXPECT_TRUE(messages_->shown.empty());
}

struct DamagedValue {
    const char* name;
    std::string value;
    const char* message;
};

void PrintTo(const DamagedValue& damaged, std::ostream* out) {
    *out << damaged.name;
}

constexpr char Unknown[] =
    "Quarn! was unable to load your Favorites: An unknown error has occurred.";
constexpr char Corrupt[] =
    "Quarn! was unable to load your Favorites: The registry data is corrupt.";

class FavoritesDamagedValue : public FavoritesStoreTest,
                              public testing::WithParamInterface<DamagedValue> {};

TEST_P(FavoritesDamagedValue, LoadsNothingAndSaysWhy) {
    TFavoritesList loaded;
    LoadFavorites(host_.rijndael, GetParam().value, loaded);
    EXPECT_TRUE(loaded.Empty());
    ASSERT_EQ(messages_->shown.size(), 1u);
    EXPECT_EQ(messages_->shown[0].text, GetParam().message);
    EXPECT_EQ(messages_->shown[0].kind, MessageKind::Error);
    ExpectCipherLeftClean();
}

INSTANTIATE_TEST_SUITE_P(
    Values, FavoritesDamagedValue,
    testing::Values(DamagedValue{"NotBase64", "this is no Base64!", Unknown},
                    DamagedValue{"Base64WithALineBreak", Encrypted("/srv\r\n") + "\r\n", Unknown},
                    DamagedValue{"ShorterThanABlock", "QUJD", Unknown},
                    DamagedValue{"NotWholeBlocks", "QUJDREVGR0hJSktMTU5PUFFSU1RV", Unknown},
                    DamagedValue{"TextWithoutLineEnd", Encrypted("/srv"), Corrupt},
                    DamagedValue{"RelativePath", Encrypted("/srv\r\nsrv\r\n"), Corrupt},
                    DamagedValue{"BareLineFeeds", Encrypted("/srv\n/home\n"), Corrupt},
                    DamagedValue{"OtherKey", Encrypted("/srv\r\n", "another key"), Corrupt}),
    quarn::test::CaseName());

// What a save must not replace without asking: a stored text that does not load, such as
// the list with a line break in a path that an older Quarn stored.
TEST_F(FavoritesStoreTest, AStoredTextThatDoesNotLoadIsUnreadable) {
    const auto readable = [this] {
        const bool answer = StoredFavoritesReadable(host_.registry, host_.rijndael);
        ExpectCipherLeftClean();
        return answer;
    };
    EXPECT_TRUE(readable()) << "no key";
    TRegistry key;
    ASSERT_TRUE(key.OpenKey(QuarnRegistryKey, true));
    EXPECT_TRUE(readable()) << "no value";
    const std::pair<std::string, bool> values[] = {
        {"", true},
        {Encrypted("/srv\r\n/home\r\n"), true},
        {"damaged by hand!", false},
        {Encrypted("/srv/two\nlines\r\n/home\r\n"), false},
        {Encrypted("/srv/a\rb\r\n"), false},
    };
    for (const auto& [value, expected] : values) {
        key.WriteString("Favorites", value);
        EXPECT_EQ(readable(), expected) << value;
    }
    key.WriteInteger("Favorites", 7);
    EXPECT_TRUE(readable()) << "another type holds no favorites";
    EXPECT_TRUE(messages_->shown.empty());
}

TEST_F(FavoritesStoreTest, AWriteThatFailsIsAnErrorWithItsMessage) {
    ASSERT_TRUE(TRegistry().OpenKey(QuarnRegistryKey, true));
    std::filesystem::remove(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    std::filesystem::create_directory(registryFolder_.Path() / "HKEY_CURRENT_USER.lock");
    try {
        SaveFavorites(host_.registry, host_.rijndael, ListOf({"/srv"}));
        ADD_FAILURE() << "no error";
    } catch (const EFavoritesError& error) {
        EXPECT_STREQ(error.what(), WriteFailed);
    }
    ExpectCipherLeftClean();
}

// A key that cannot even be opened is a failed save too, not a silent one.
TEST_F(FavoritesStoreTest, AKeyThatDoesNotOpenIsAFailedSave) {
    std::filesystem::create_directory(registryFolder_.Path() / "HKEY_CURRENT_USER.txt");
    EXPECT_THROW(SaveFavorites(host_.registry, host_.rijndael, ListOf({"/srv"})), EFavoritesError);
}

} // namespace
} // namespace quarn
