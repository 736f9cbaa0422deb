#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarn {

// The favorite folders: paths kept sorted, each once. Paths are compared exactly, as the
// file system compares them: "/x/Data" and "/x/data" are two favorites. The order puts
// names that differ only in the case of ASCII letters next to each other.
class TFavoritesList {
public:
    const std::vector<std::string>& Items() const { return items_; }
    bool Empty() const { return items_.empty(); }
    bool Contains(const std::string& path) const;

    // False when the path is there already.
    bool Add(const std::string& path);
    // False when the path is not there.
    bool Remove(const std::string& path);
    void Clear() { items_.clear(); }

    // Whether the stored text can hold the path: an absolute path with no NUL, CR or LF.
    static bool CanStore(const std::string& path);

    // The stored text: every entry followed by CR LF; "" for an empty list.
    std::string Text() const;
    // The list of a stored text, or nothing when the text is not one: every entry must be a
    // path it can store, followed by CR LF.
    static std::optional<TFavoritesList> FromText(const std::string& text);

    bool operator==(const TFavoritesList&) const = default;

private:
    std::vector<std::string>::const_iterator Find(const std::string& path) const;

    std::vector<std::string> items_;
};

// Whether a goes before b in the favorites' order.
bool FavoriteBefore(const std::string& a, const std::string& b);

} // namespace quarn
