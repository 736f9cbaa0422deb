#include "shell/list/ShellListFilter.h"

#include "platform/SplitText.h"

#include <QString>
#include <dirent.h>
#include <memory>

namespace quarn {

namespace {

std::u32string Folded(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()))
        .toCaseFolded()
        .toStdU32String();
}

// Glob matching with the last "*" as the only point to go back to.
bool Matches(std::u32string_view name, std::u32string_view mask) {
    std::size_t n = 0;
    std::size_t m = 0;
    std::size_t star = std::u32string_view::npos;
    std::size_t resume = 0;
    while (n < name.size()) {
        if (m < mask.size() && (mask[m] == U'?' || mask[m] == name[n])) {
            ++n;
            ++m;
        } else if (m < mask.size() && mask[m] == U'*') {
            star = m++;
            resume = n;
        } else if (star != std::u32string_view::npos) {
            m = star + 1;
            n = ++resume;
        } else {
            return false;
        }
    }
    while (m < mask.size() && mask[m] == U'*') {
        ++m;
    }
    return m == mask.size();
}

struct DirCloser {
    void operator()(DIR* dir) const { closedir(dir); }
};

} // namespace

std::vector<std::string> ParseFileFilter(std::string_view text) {
    std::vector<std::string> masks;
    for (const std::string_view mask : SplitSkippingEmpty(text, ';')) {
        masks.emplace_back(mask);
    }
    return masks;
}

namespace {

bool MatchesFolded(std::u32string_view name, std::u32string_view mask) {
    return Matches(name, mask) ||
           (mask.ends_with(U".*") && Matches(name, mask.substr(0, mask.size() - 2)));
}

} // namespace

bool MatchesMask(std::string_view name, std::string_view mask) {
    return MatchesFolded(Folded(name), Folded(mask));
}

bool ShowsEverything(std::string_view filter) {
    return filter.empty() || filter == "*" || filter == "*.*";
}

std::unordered_set<std::string> MatchingFileNames(const std::string& folderPath,
                                                  const std::vector<std::string>& masks) {
    std::unordered_set<std::string> names;
    const std::unique_ptr<DIR, DirCloser> dir(opendir(folderPath.c_str()));
    if (!dir) {
        return names;
    }
    std::vector<std::u32string> folded;
    for (const std::string& mask : masks) {
        folded.push_back(Folded(mask));
    }
    while (const dirent* entry = readdir(dir.get())) {
        if (entry->d_type == DT_DIR) {
            continue;
        }
        const std::string_view name(entry->d_name);
        const std::u32string foldedName = Folded(name);
        for (const std::u32string& mask : folded) {
            if (MatchesFolded(foldedName, mask)) {
                names.emplace(name);
                break;
            }
        }
    }
    return names;
}

} // namespace quarn
