// The clipboard formats of cut and copied files, exactly as other file managers write and
// read them.
#include "namespace/FileClipboard.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

const std::string Raw = "/tmp/r\xe9sum\xe9 #1%.txt"; // Latin-1 bytes, a space, "#" and "%"
const std::string RawUri = "file:///tmp/r%E9sum%E9%20%231%25.txt";

TEST(FileClipboard, CopiedFilesInEveryFormat) {
    const MimeData data = FileClipboardData({{Raw, "/home/u/folder"}, false});
    EXPECT_EQ(data,
              (MimeData{
                  {"text/uri-list", RawUri + "\r\nfile:///home/u/folder\r\n"},
                  {"x-special/gnome-copied-files", "copy\n" + RawUri + "\nfile:///home/u/folder"},
              }));
    const ClipboardFiles files = ReadClipboardFiles(data);
    EXPECT_EQ(files.paths, (std::vector<std::string>{Raw, "/home/u/folder"}));
    EXPECT_FALSE(files.cut);
}

TEST(FileClipboard, CutFilesCarryBothMarkers) {
    const MimeData data = FileClipboardData({{"/a b"}, true});
    EXPECT_EQ(data, (MimeData{
                        {"text/uri-list", "file:///a%20b\r\n"},
                        {"x-special/gnome-copied-files", "cut\nfile:///a%20b"},
                        {"application/x-kde-cutselection", "1"},
                    }));
    const ClipboardFiles files = ReadClipboardFiles(data);
    EXPECT_EQ(files.paths, std::vector<std::string>{"/a b"});
    EXPECT_TRUE(files.cut);
}

// 4095 bytes, the longest a path can be, of names of 255 bytes, the longest a name can be.
const std::string LongestPath = [] {
    std::string path;
    while (path.size() + 256 < 4095) {
        path += "/" + std::string(255, 'n');
    }
    return path + "/" + std::string(4095 - path.size() - 1, 'e');
}();

struct ForeignCase {
    const char* what;
    MimeData data;
    std::vector<std::string> paths;
    bool cut;
};

TEST(FileClipboard, WhatOtherProgramsLeave) {
    const ForeignCase cases[] = {
        {"a uri-list alone is copied",
         {{"text/uri-list", "file:///x\r\nfile:///y\r\n"}},
         {"/x", "/y"},
         false},
        {"KDE's marker makes it cut",
         {{"text/uri-list", "file:///x\n"}, {"application/x-kde-cutselection", "1"}},
         {"/x"},
         true},
        {"KDE's copy marker",
         {{"text/uri-list", "file:///x"}, {"application/x-kde-cutselection", "0"}},
         {"/x"},
         false},
        {"GNOME's list wins over the uri-list",
         {{"x-special/gnome-copied-files", "cut\nfile:///g\n"}, {"text/uri-list", "file:///u"}},
         {"/g"},
         true},
        {"a GNOME list without its word is not read",
         {{"x-special/gnome-copied-files", "file:///g"}, {"text/uri-list", "file:///u"}},
         {"/u"},
         false},
        {"comments, blank lines, other hosts and schemes are skipped",
         {{"text/uri-list",
           "# comment\r\n\r\nfile://localhost/l\r\nfile://server/s\r\nhttp://x/y\r\nfile:///ok"}},
         {"/l", "/ok"},
         false},
        {"a NUL in a path is no path",
         {{"text/uri-list", "file:///a%00b\r\nfile:///c"}},
         {"/c"},
         false},
        {"no file formats", {{"text/plain", "/x"}}, {}, false},
        {"a path longer than PATH_MAX refuses the whole list",
         {{"text/uri-list", "file:///ok\r\nfile:///" + std::string(1 << 20, 'a') + "\r\n"}},
         {},
         false},
        {"a name longer than NAME_MAX refuses the whole list",
         {{"x-special/gnome-copied-files", "copy\nfile:///" + std::string(256, 'n') + "/x"}},
         {},
         false},
        {"the longest path and name are taken",
         {{"text/uri-list", "file://" + LongestPath}},
         {LongestPath},
         false},
    };
    for (const auto& c : cases) {
        const ClipboardFiles files = ReadClipboardFiles(c.data);
        EXPECT_EQ(files.paths, c.paths) << c.what;
        EXPECT_EQ(files.cut, c.cut) << c.what;
    }
}

} // namespace
} // namespace quarn::test
