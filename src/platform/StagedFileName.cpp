#include "platform/StagedFileName.h"

#include "platform/PosixFile.h"

#include <random>

namespace quarn {

namespace {
constexpr std::string_view StagedFilePrefix = "quarn-";
constexpr std::string_view Suffix = ".part";
constexpr std::size_t RandomLength = 6;
constexpr std::string_view Letters =
    "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
} // namespace

std::string FreshStagingName(std::string_view prefix) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, Letters.size() - 1);
    std::string name(prefix);
    for (std::size_t i = 0; i < RandomLength; ++i) {
        name += Letters[pick(random)];
    }
    return name += Suffix;
}

bool IsStagingName(std::string_view name, std::string_view prefix) {
    if (name.size() != prefix.size() + RandomLength + Suffix.size() || !name.starts_with(prefix) ||
        !name.ends_with(Suffix)) {
        return false;
    }
    return name.substr(prefix.size(), RandomLength).find_first_not_of(Letters) ==
           std::string_view::npos;
}

std::string FreshStagedName(const std::string& path) {
    return FolderPart(path) + FreshStagingName(StagedFilePrefix);
}

bool IsStagedName(std::string_view name) {
    return IsStagingName(name, StagedFilePrefix);
}

} // namespace quarn
