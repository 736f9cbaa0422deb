#include "app/FavoritesList.h"

#include <algorithm>

namespace quarn {

namespace {

constexpr std::string_view LineEnd = "\r\n";

char FoldAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

} // namespace

bool TFavoritesList::CanStore(const std::string& path) {
    return path.starts_with('/') &&
           path.find_first_of(std::string_view("\0\r\n", 3)) == std::string::npos;
}

bool FavoriteBefore(const std::string& a, const std::string& b) {
    const auto foldedLess = [](char x, char y) {
        return static_cast<unsigned char>(FoldAscii(x)) < static_cast<unsigned char>(FoldAscii(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess)) {
        return true;
    }
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess)) {
        return false;
    }
    return a < b;
}

std::vector<std::string>::const_iterator TFavoritesList::Find(const std::string& path) const {
    const auto place = std::lower_bound(items_.begin(), items_.end(), path, FavoriteBefore);
    return place != items_.end() && *place == path ? place : items_.end();
}

bool TFavoritesList::Contains(const std::string& path) const {
    return Find(path) != items_.end();
}

bool TFavoritesList::Add(const std::string& path) {
    const auto place = std::lower_bound(items_.begin(), items_.end(), path, FavoriteBefore);
    if (place != items_.end() && *place == path) {
        return false;
    }
    items_.insert(place, path);
    return true;
}

bool TFavoritesList::Remove(const std::string& path) {
    const auto place = Find(path);
    if (place == items_.end()) {
        return false;
    }
    items_.erase(place);
    return true;
}

std::string TFavoritesList::Text() const {
    std::string text;
    for (const std::string& item : items_) {
        text += item;
        text += LineEnd;
    }
    return text;
}

std::optional<TFavoritesList> TFavoritesList::FromText(const std::string& text) {
    TFavoritesList list;
    std::string_view rest(text);
    while (!rest.empty()) {
        const std::size_t end = rest.find(LineEnd);
        if (end == std::string_view::npos) {
            return std::nullopt;
        }
        const std::string entry(rest.substr(0, end));
        if (!CanStore(entry)) {
            return std::nullopt;
        }
        list.Add(entry);
        rest.remove_prefix(end + LineEnd.size());
    }
    return list;
}

} // namespace quarn
