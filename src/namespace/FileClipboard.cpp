#include "namespace/FileClipboard.h"

#include "platform/PathLimits.h"
#include "platform/PercentEncoding.h"

namespace quarn {

namespace {

std::vector<std::string_view> Lines(std::string_view text) {
    std::vector<std::string_view> lines;
    while (!text.empty()) {
        const std::size_t end = std::min(text.find('\n'), text.size());
        std::string_view line = text.substr(0, end);
        if (line.ends_with('\r')) {
            line.remove_suffix(1);
        }
        lines.push_back(line);
        text.remove_prefix(std::min(end + 1, text.size()));
    }
    return lines;
}

// The local files among URI lines; comments ("#") and blank lines are skipped. A path that
// no entry can have (too long, or a name in it too long) refuses the whole list: it was not
// made from real files.
std::vector<std::string> PathsOf(const std::vector<std::string_view>& lines) {
    std::vector<std::string> paths;
    for (const std::string_view line : lines) {
        if (line.empty() || line.starts_with('#')) {
            continue;
        }
        if (auto path = FileUriPath(line)) {
            if (!WithinPathLimits(*path)) {
                return {};
            }
            paths.push_back(std::move(*path));
        }
    }
    return paths;
}

const std::string* Find(const MimeData& data, const char* type) {
    const auto entry = data.find(type);
    return entry == data.end() ? nullptr : &entry->second;
}

} // namespace

std::string FileUri(const std::string& path) {
    return "file://" + PercentEncodePath(path);
}

std::optional<std::string> FileUriPath(std::string_view uri) {
    constexpr std::string_view Scheme = "file://";
    constexpr std::string_view Localhost = "localhost";
    if (uri.size() < Scheme.size() || uri.substr(0, Scheme.size()) != Scheme) {
        return std::nullopt;
    }
    uri.remove_prefix(Scheme.size());
    if (uri.starts_with(Localhost)) {
        uri.remove_prefix(Localhost.size());
    }
    std::string path = PercentDecode(uri);
    if (!path.starts_with('/') || path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    return path;
}

MimeData FileClipboardData(const ClipboardFiles& files) {
    std::string uriList;
    std::string gnome = files.cut ? "cut" : "copy";
    for (const std::string& path : files.paths) {
        const std::string uri = FileUri(path);
        uriList += uri + "\r\n";
        gnome += "\n" + uri;
    }
    MimeData data{{UriListType, uriList}, {GnomeCopiedFilesType, gnome}};
    if (files.cut) {
        data[KdeCutSelectionType] = "1";
    }
    return data;
}

ClipboardFiles ReadClipboardFiles(const MimeData& data) {
    if (const std::string* gnome = Find(data, GnomeCopiedFilesType)) {
        auto lines = Lines(*gnome);
        if (!lines.empty() && (lines.front() == "cut" || lines.front() == "copy")) {
            const bool cut = lines.front() == "cut";
            lines.erase(lines.begin());
            return {PathsOf(lines), cut};
        }
    }
    if (const std::string* uriList = Find(data, UriListType)) {
        const std::string* marker = Find(data, KdeCutSelectionType);
        return {PathsOf(Lines(*uriList)), marker != nullptr && *marker == "1"};
    }
    return {};
}

} // namespace quarn
