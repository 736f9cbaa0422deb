#include "namespace/ItemOrderKey.h"

#include "namespace/ItemInfo.h"

#include <QCollator>
#include <string>
#include <tuple>
#include <unordered_map>

namespace quarn {

namespace {

// Column 0, the name, and any other column order by name alone.
constexpr int SizeColumn = 1;
constexpr int TypeColumn = 2;
constexpr int ModifiedColumn = 3;

// Numeric collation in the user's language; the C locale collates by code points only,
// so it falls back to English rules there.
const QCollator& NameCollator() {
    thread_local const QCollator collator = [] {
        QLocale locale = QLocale::system();
        if (locale.language() == QLocale::C) {
            locale = QLocale(QLocale::English);
        }
        QCollator result(locale);
        result.setNumericMode(true);
        return result;
    }();
    return collator;
}

int Sign(auto difference) {
    return difference < 0 ? -1 : (difference > 0 ? 1 : 0);
}

template <typename T> int Order(const T& first, const T& second) {
    return first < second ? -1 : (second < first ? 1 : 0);
}

QString Text(std::string_view bytes) {
    return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

QCollatorSortKey FreshNameKey(std::string_view name) {
    return NameCollator().sortKey(Text(name));
}

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

// Each name is collated once; the cache is dropped when it grows large.
QCollatorSortKey CachedNameKey(std::string_view name) {
    constexpr std::size_t CacheLimit = 200'000;
    thread_local std::unordered_map<std::string, QCollatorSortKey, NameHash, std::equal_to<>> keys;
    if (const auto found = keys.find(name); found != keys.end()) {
        return found->second;
    }
    if (keys.size() >= CacheLimit) {
        keys.clear();
    }
    return keys.emplace(std::string(name), FreshNameKey(name)).first->second;
}

std::string_view Extension(std::string_view name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string VolumeName(const VolumeItem& volume) {
    return ItemDisplayName(volume, SHGDN_NORMAL, {});
}

// Keeps the order of signed seconds in unsigned numbers.
std::uint64_t SecondsNumber(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds) ^ (std::uint64_t{1} << 63);
}

} // namespace

ItemOrderKey::ItemOrderKey(const Item& item, int column, NameCollation collation)
    : kind_(static_cast<std::uint8_t>(item.index())) {
    const auto nameKey = collation == NameCollation::Cached ? CachedNameKey : FreshNameKey;
    std::visit(Overloaded{
                   [&](const RootItem& root) { number_ = static_cast<std::uint8_t>(root.kind); },
                   [&](const VolumeItem& volume) {
                       rank_ = volume.mountPoint == "/" ? 0 : 1;
                       name_ = nameKey(VolumeName(volume));
                       tie_ = volume.mountPoint;
                   },
                   [&](const EntryItem& entry) {
                       rank_ = entry.IsFolder() ? 0 : 1;
                       if (column == SizeColumn) {
                           number_ = entry.size;
                       } else if (column == TypeColumn) {
                           type_ = nameKey(Extension(entry.name));
                       } else if (column == ModifiedColumn) {
                           number_ = SecondsNumber(entry.modified.seconds);
                           fraction_ = entry.modified.nanoseconds;
                       }
                       name_ = nameKey(entry.name);
                       tie_ = entry.name;
                   },
                   [&](const TrashItem& trash) {
                       rank_ = trash.folder ? 0 : 1;
                       name_ = nameKey(trash.DisplayName());
                       tie_ = trash.trashName;
                   },
               },
               item);
}

ItemOrderKey ItemOrderKey::OfCaption(std::string_view caption) {
    ItemOrderKey key;
    key.tie_ = caption;
    return key;
}

int ItemOrderKey::Compare(const ItemOrderKey& other) const {
    if (const int order =
            Order(std::tie(kind_, rank_, number_, fraction_),
                  std::tie(other.kind_, other.rank_, other.number_, other.fraction_))) {
        return order;
    }
    if (type_ && other.type_) {
        if (const int order = Sign(type_->compare(*other.type_))) {
            return order;
        }
    }
    if (name_ && other.name_) {
        if (const int order = Sign(name_->compare(*other.name_))) {
            return order;
        }
    }
    return Sign(tie_.compare(other.tie_));
}

} // namespace quarn
