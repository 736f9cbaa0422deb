#pragma once

#include <stdexcept>
#include <string>

namespace quarn {

class TFavoritesList;
class TRegistry;
class TRijndael;

// The constant key and IV text of the "Favorites" value.
inline constexpr char FavoritesKey[] = "{58C1E2B9-0F4D-4A73-B26E-91A4C7D803FE}";
inline constexpr char FavoritesIVSeed[] = "{A3D05F18-7C92-4B4E-8E61-D2F9037B5C4A}";

// A favorites list that could not be stored; the message is for the user.
class EFavoritesError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// The "Favorites" value of a list: its text (every entry followed by CR LF) padded, encrypted
// with AES-256-CBC under the constant key and IV and coded as one line of Base64; "" for an
// empty list. The cipher component is left reset, in its own mode and key size and in
// smNormal, on every path.
std::string EncryptFavorites(TRijndael& cipher, const TFavoritesList& list);

// The start-up load of the "Favorites" text into list (an empty text loads nothing). A value
// that does not decrypt shows "... An unknown error has occurred.", one whose text is not a
// list "... The registry data is corrupt."; either way list is left as it was. Nothing is
// written: a damaged value stays until the user agrees to replace it.
void LoadFavorites(TRijndael& cipher, const std::string& value, TFavoritesList& list);

// False when the stored "Favorites" value is a text that LoadFavorites does not load: a list
// that cannot be read, which stays until the user agrees to replace it. True for none, an
// empty one, one of another type, and when the store cannot be read at all (its save then
// fails with its own message).
bool StoredFavoritesReadable(TRegistry& registry, TRijndael& cipher);

// Writes the list's value as "Favorites" under the per-user key; throws EFavoritesError with
// the message to show when it cannot encrypt or write it.
void SaveFavorites(TRegistry& registry, TRijndael& cipher, const TFavoritesList& list);

} // namespace quarn
