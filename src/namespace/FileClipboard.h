#pragma once

#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quarn {

// Clipboard contents: bytes by MIME type.
using MimeData = std::map<std::string, std::string>;

inline constexpr char UriListType[] = "text/uri-list";
inline constexpr char GnomeCopiedFilesType[] = "x-special/gnome-copied-files";
inline constexpr char KdeCutSelectionType[] = "application/x-kde-cutselection";
// The types the clipboard verbs write and read.
inline constexpr const char* FileClipboardTypes[] = {UriListType, GnomeCopiedFilesType,
                                                     KdeCutSelectionType};

// Files on the clipboard, and whether they were cut (to be moved) or copied.
struct ClipboardFiles {
    std::vector<std::string> paths;
    bool cut = false;
};

// The formats other file managers read: a uri-list, GNOME's "cut"/"copy" list and, for cut
// files, KDE's marker "1".
MimeData FileClipboardData(const ClipboardFiles& files);

// What another program or we left: GNOME's list first, else the uri-list, cut only with
// KDE's marker "1". Only local file URIs count; no files when none is there, or when one of
// them is a path longer than PATH_MAX or holds a name longer than NAME_MAX.
ClipboardFiles ReadClipboardFiles(const MimeData& data);

// "file://" and the path's raw bytes percent-encoded, so that any name travels exactly.
std::string FileUri(const std::string& path);
// The path of a local file URI (no host, or "localhost"); nothing for any other.
std::optional<std::string> FileUriPath(std::string_view uri);

} // namespace quarn
