#include "app/FavoritesStore.h"

#include "app/FavoritesList.h"
#include "app/common/Settings.h"
#include "cipher/Rijndael.h"
#include "platform/MessageService.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <algorithm>
#include <optional>
#include <string_view>
#include <variant>

namespace quarn {

namespace {

constexpr char LoadCorrupt[] =
    "Quarn! was unable to load your Favorites: The registry data is corrupt.";
constexpr char LoadFailed[] =
    "Quarn! was unable to load your Favorites: An unknown error has occurred.";
constexpr char EncryptFailed[] =
    "An unexpected error has occurred: Quarn! was unable to encrypt your favorites prior to "
    "saving them.\r\n\r\nYour favorites have not been saved. Please try again.";
constexpr char WriteFailed[] =
    "An unexpected error has occurred: Quarn! was unable to save your favorites.";

constexpr std::string_view Base64Alphabet =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

// One line of Base64 with "=" padding: whole groups of four, "=" only at the end.
bool IsBase64(std::string_view text) {
    if (text.size() % 4 != 0) {
        return false;
    }
    const std::size_t padding = text.size() - (text.find_last_not_of('=') + 1);
    return padding <= 2 && std::ranges::all_of(text.substr(0, text.size() - padding), [](char c) {
               return Base64Alphabet.find(c) != std::string_view::npos;
           });
}

// Runs one string operation with the component set up for the "Favorites" value, and leaves
// it reset, in its own mode and key size and in smNormal, on every path.
template <typename Operation> std::string WithFavoritesCipher(TRijndael& cipher, Operation run) {
    class Restore {
    public:
        explicit Restore(TRijndael& cipher)
            : cipher_(cipher), mode_(cipher.CipherMode), keySize_(cipher.KeySize) {}
        ~Restore() {
            cipher_.Reset();
            cipher_.CipherMode = mode_;
            cipher_.KeySize = keySize_;
            cipher_.StringMode = smNormal;
        }

    private:
        TRijndael& cipher_;
        TCipherMode mode_;
        TKeySize keySize_;
    } restore(cipher);
    cipher.CipherMode = CBC;
    cipher.KeySize = Large256;
    cipher.StringMode = smMime;
    cipher.SetIV(FavoritesIVSeed);
    cipher.SetKey(FavoritesKey);
    return run(cipher);
}

// The text of a value, or nothing when it is no Base64 or does not decrypt.
std::optional<std::string> DecryptFavorites(TRijndael& cipher, const std::string& value) {
    if (!IsBase64(value)) {
        return std::nullopt;
    }
    try {
        return WithFavoritesCipher(cipher, [&](TRijndael& c) { return c.DecryptString(value); });
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// The list a value holds, or the message that says why it holds none.
std::variant<TFavoritesList, const char*> DecodeFavorites(TRijndael& cipher,
                                                          const std::string& value) {
    const std::optional<std::string> plain = DecryptFavorites(cipher, value);
    if (!plain) {
        return LoadFailed;
    }
    std::optional<TFavoritesList> list = TFavoritesList::FromText(*plain);
    if (!list) {
        return LoadCorrupt;
    }
    return std::move(*list);
}

void ShowLoadError(const char* text) {
    Messages().Show(MessageKind::Error, text, MessageButtons::Ok);
}

} // namespace

std::string EncryptFavorites(TRijndael& cipher, const TFavoritesList& list) {
    const std::string text = list.Text();
    if (text.empty()) {
        return {};
    }
    return WithFavoritesCipher(cipher, [&](TRijndael& c) { return c.EncryptString(text); });
}

void LoadFavorites(TRijndael& cipher, const std::string& value, TFavoritesList& list) {
    if (value.empty()) {
        return;
    }
    std::variant<TFavoritesList, const char*> decoded = DecodeFavorites(cipher, value);
    if (const char* const* fault = std::get_if<const char*>(&decoded)) {
        ShowLoadError(*fault);
        return;
    }
    list = std::move(std::get<TFavoritesList>(decoded));
}

bool StoredFavoritesReadable(TRegistry& registry, TRijndael& cipher) {
    std::string value;
    registry.SetRootKey(RegistryRoot::CurrentUser);
    try {
        if (!registry.OpenKeyReadOnly(QuarnRegistryKey)) {
            return true;
        }
        const RegistryKeyGuard close(registry);
        if (registry.GetDataType("Favorites") != RegistryDataType::String) {
            return true;
        }
        value = registry.ReadString("Favorites");
    } catch (const ERegistryException&) {
        return true; // the store fails: the save says so itself
    }
    return value.empty() || std::holds_alternative<TFavoritesList>(DecodeFavorites(cipher, value));
}

void SaveFavorites(TRegistry& registry, TRijndael& cipher, const TFavoritesList& list) {
    std::string value;
    try {
        value = EncryptFavorites(cipher, list);
    } catch (const std::exception&) {
        throw EFavoritesError(EncryptFailed);
    }
    registry.SetRootKey(RegistryRoot::CurrentUser);
    try {
        if (!registry.OpenKey(QuarnRegistryKey, true)) {
            throw EFavoritesError(WriteFailed);
        }
        const RegistryKeyGuard close(registry);
        registry.WriteString("Favorites", value);
    } catch (const ERegistryException&) {
        throw EFavoritesError(WriteFailed);
    }
}

} // namespace quarn
