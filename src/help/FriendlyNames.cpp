// Friendly names of the help control's and of the browser's versions.
#include "help/HelpFuncs.h"

#include <span>

namespace quarn {

namespace {

struct NamedVersion {
    FileVersion from;
    const char* name;
};

// above: the name for versions greater than its own; then the first row whose version is
// reached; otherwise the last name.
std::string FriendlyName(const FileVersionText& version, const NamedVersion& above,
                         std::span<const NamedVersion> rows, const char* otherwise) {
    if (version.text.empty()) {
        return {};
    }
    if (CompareVersions(version.version, above.from) > 0) {
        return above.name;
    }
    for (const NamedVersion& row : rows) {
        if (CompareVersions(version.version, row.from) >= 0) {
            return row.name;
        }
    }
    return otherwise;
}

constexpr NamedVersion HtmlHelpAbove{{4, 74, 9273, 0}, "> 1.33"};
constexpr NamedVersion HtmlHelpRows[] = {
    {{4, 74, 9273, 0}, "1.33"}, {{4, 74, 8857, 0}, "1.32"}, {{4, 74, 8793, 0}, "1.31"},
    {{4, 74, 8702, 0}, "1.3"},  {{4, 73, 8561, 0}, "1.22"}, {{4, 73, 8474, 0}, "1.21a"},
    {{4, 73, 8412, 0}, "1.21"}, {{4, 73, 8252, 0}, "1.2"},  {{4, 72, 8164, 0}, "1.1b"},
    {{4, 72, 7325, 0}, "1.1a"}, {{4, 72, 7323, 0}, "1.1"},  {{4, 72, 7290, 0}, "1.0"},
};

constexpr NamedVersion BrowserAbove{{6, 0, 2600, 0}, "> Internet Explorer 6"};
constexpr NamedVersion BrowserRows[] = {
    {{6, 0, 2600, 0}, "Internet Explorer 6 (Windows XP)"},
    {{6, 0, 2479, 6}, "Internet Explorer 6 Public Preview (Beta) Refresh"},
    {{6, 0, 2462, 0}, "Internet Explorer 6 Public Preview (Beta)"},
    {{5, 50, 4807, 2300}, "Internet Explorer 5.5 Service Pack 2"},
    {{5, 50, 4522, 1800}, "Internet Explorer 5.5 Service Pack 1"},
    {{5, 50, 4308, 2900}, "Internet Explorer 5.5 Advanced Security Privacy Beta"},
    {{5, 50, 4134, 600}, "Internet Explorer 5.5"},
    {{5, 50, 4134, 100}, "Internet Explorer 5.5 for Windows Me (4.90.3000)"},
    {{5, 50, 4030, 2400}, "Internet Explorer 5.5 & Internet Tools Beta"},
    {{5, 50, 3825, 1300}, "Internet Explorer 5.5 Developer Preview"},
    {{5, 0, 2919, 6400}, "Internet Explorer 5.01"},
    {{5, 0, 2919, 6307}, "Internet Explorer 5.01"},
    {{5, 0, 2919, 3800}, "Internet Explorer 5.01 (Windows 2000 RC2, build 5.00.2128)"},
    {{5, 0, 2919, 800}, "Internet Explorer 5.01 (Windows 2000 RC1, build 5.00.2072)"},
    {{5, 0, 2723, 2900}, "Internet Explorer 5.0 updated"},
    {{5, 0, 2721, 1400}, "Internet Explorer 5.0 updated"},
    {{5, 0, 2614, 0}, "Internet Explorer 5.0b"},
    {{5, 0, 2314, 0}, "Internet Explorer 5.0a"},
    {{5, 0, 2014, 0}, "Internet Explorer 5.0"},
    {{5, 0, 910, 0}, "Internet Explorer 5 Beta (Beta 2)"},
    {{5, 0, 518, 0}, "Internet Explorer 5 Developer Preview (Beta 1)"},
    {{4, 72, 3612, 0}, "Internet Explorer 4.01 Service Pack 2 (SP2)"},
    {{4, 72, 3110, 0}, "Internet Explorer 4.01 Service Pack 1 (SP1)"},
    {{4, 72, 2106, 0}, "Internet Explorer 4.01"},
    {{4, 71, 1712, 0}, "Internet Explorer 4.0"},
    {{4, 71, 1008, 0}, "Internet Explorer 4.0 Platform Preview 2.0 (PP2)"},
    {{4, 71, 544, 0}, "Internet Explorer 4.0 Platform Preview 1.0 (PP1)"},
    {{4, 70, 1300, 0}, "Internet Explorer 3.02"},
    {{4, 70, 1215, 0}, "Internet Explorer 3.01"},
    {{4, 70, 1158, 0}, "Internet Explorer 3.0 (OSR2)"},
    {{4, 70, 1155, 0}, "Internet Explorer 3.0"},
    {{4, 40, 520, 0}, "Internet Explorer 2.0"},
    {{4, 40, 308, 0}, "Internet Explorer 1.0 (Plus!)"},
};

} // namespace

std::string HtmlHelpFriendlyName(const FileVersionText& version) {
    return FriendlyName(version, HtmlHelpAbove, HtmlHelpRows, "< 1.0");
}

std::string BrowserFriendlyName(const FileVersionText& version) {
    return FriendlyName(version, BrowserAbove, BrowserRows, "< Internet Explorer 1.0 (Plus!)");
}

} // namespace quarn
