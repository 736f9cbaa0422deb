// The order of items in a folder.
#include "namespace/ItemInfo.h"
#include "namespace/ItemOrderKey.h"

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

struct NameHash {
    using is_transparent = void;
    std::size_t operator()(std::string_view name) const {
        return std::hash<std::string_view>{}(name);
    }
};

// Sorting compares every name many times: each name is collated once into a key, and keys
// compare as the collator would compare the names. The cache is dropped when it grows large,
// never between the look-ups of one comparison.
using SortKeys = std::unordered_map<std::string, QCollatorSortKey, NameHash, std::equal_to<>>;

const QCollatorSortKey& SortKeyOf(SortKeys& keys, std::string_view name) {
    auto found = keys.find(name);
    if (found == keys.end()) {
        found = keys.emplace(std::string(name), NameCollator().sortKey(Text(name))).first;
    }
    return found->second;
}

int CollateNames(std::string_view first, std::string_view second) {
    constexpr std::size_t CacheLimit = 200'000;
    thread_local SortKeys keys;
    if (keys.size() >= CacheLimit) {
        keys.clear();
    }
    return SortKeyOf(keys, first).compare(SortKeyOf(keys, second));
}

// Collation first; names that collate equal go by their bytes.
int CompareNames(std::string_view first, std::string_view second) {
    if (first == second) {
        return 0;
    }
    if (const int order = Sign(CollateNames(first, second))) {
        return order;
    }
    return Sign(first.compare(second));
}

std::string_view Extension(std::string_view name) {
    const auto dot = name.find_last_of('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

int CompareEntries(const EntryItem& first, const EntryItem& second, int column) {
    if (first.IsFolder() != second.IsFolder()) {
        return first.IsFolder() ? -1 : 1;
    }
    int order = 0;
    switch (column) {
    case SizeColumn:
        order = Order(first.size, second.size);
        break;
    case TypeColumn:
        order =
            Sign(NameCollator().compare(Text(Extension(first.name)), Text(Extension(second.name))));
        break;
    case ModifiedColumn:
        order = Order(first.modified, second.modified);
        break;
    default:
        break;
    }
    return order ? order : CompareNames(first.name, second.name);
}

std::string VolumeName(const VolumeItem& volume) {
    return ItemDisplayName(volume, SHGDN_NORMAL, {});
}

int CompareVolumes(const VolumeItem& first, const VolumeItem& second) {
    if ((first.mountPoint == "/") != (second.mountPoint == "/")) {
        return first.mountPoint == "/" ? -1 : 1;
    }
    const int order = CompareNames(VolumeName(first), VolumeName(second));
    return order ? order : Sign(first.mountPoint.compare(second.mountPoint));
}

int CompareTrash(const TrashItem& first, const TrashItem& second) {
    if (first.folder != second.folder) {
        return first.folder ? -1 : 1;
    }
    const int order = CompareNames(first.DisplayName(), second.DisplayName());
    return order ? order : Sign(first.trashName.compare(second.trashName));
}

} // namespace

int CompareItems(const Item& first, const Item& second, int column) {
    if (first.index() != second.index()) {
        return Order(first.index(), second.index());
    }
    return std::visit(
        Overloaded{
            [&](const RootItem& a) { return Order(a.kind, std::get<RootItem>(second).kind); },
            [&](const VolumeItem& a) { return CompareVolumes(a, std::get<VolumeItem>(second)); },
            [&](const EntryItem& a) {
                return CompareEntries(a, std::get<EntryItem>(second), column);
            },
            [&](const TrashItem& a) { return CompareTrash(a, std::get<TrashItem>(second)); },
        },
        first);
}

namespace {

QCollatorSortKey NameKey(std::string_view name) {
    return NameCollator().sortKey(Text(name));
}

// Keeps the order of signed seconds in unsigned numbers.
std::uint64_t SecondsNumber(std::int64_t seconds) {
    return static_cast<std::uint64_t>(seconds) ^ (std::uint64_t{1} << 63);
}

} // namespace

ItemOrderKey::ItemOrderKey(const Item& item, int column)
    : kind_(static_cast<std::uint8_t>(item.index())) {
    std::visit(Overloaded{
                   [&](const RootItem& root) { number_ = static_cast<std::uint8_t>(root.kind); },
                   [&](const VolumeItem& volume) {
                       rank_ = volume.mountPoint == "/" ? 0 : 1;
                       name_ = NameKey(VolumeName(volume));
                       tie_ = volume.mountPoint;
                   },
                   [&](const EntryItem& entry) {
                       rank_ = entry.IsFolder() ? 0 : 1;
                       if (column == SizeColumn) {
                           number_ = entry.size;
                       } else if (column == TypeColumn) {
                           type_ = NameKey(Extension(entry.name));
                       } else if (column == ModifiedColumn) {
                           number_ = SecondsNumber(entry.modified.seconds);
                           fraction_ = entry.modified.nanoseconds;
                       }
                       name_ = NameKey(entry.name);
                       tie_ = entry.name;
                   },
                   [&](const TrashItem& trash) {
                       rank_ = trash.folder ? 0 : 1;
                       name_ = NameKey(trash.DisplayName());
                       tie_ = trash.trashName;
                   },
               },
               item);
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
