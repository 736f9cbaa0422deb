#include "platform/StagedFileName.h"

#include "platform/PosixFile.h"

#include <algorithm>
#include <random>

namespace quarn {

namespace {
constexpr std::string_view Prefix = "quarn-";
constexpr std::string_view Suffix = ".part";
constexpr std::size_t RandomLength = 6;
constexpr std::string_view Letters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
} // namespace

std::string FreshStagedName(const std::string& path) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::string name = FolderPart(path);
    name += Prefix;
    for (std::size_t i = 0; i < RandomLength; ++i) {
        name += Letters[pick(random)];
    }
    return name += Suffix;
}

bool IsStagedName(std::string_view name) {
    if (name.size() != Prefix.size() + RandomLength + Suffix.size() || !name.starts_with(Prefix) ||
        !name.ends_with(Suffix)) {
        return false;
    }
    const std::string_view random = name.substr(Prefix.size(), RandomLength);
    return std::all_of(random.begin(), random.end(),
                       [](char c) { return Letters.find(c) != std::string_view::npos; });
}

} // namespace quarn
