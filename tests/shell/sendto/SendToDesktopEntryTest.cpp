// The Exec line of a Send To desktop entry turned into the command lines that start it.
#include "shell/sendto/SendToDesktopEntry.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

using Lines = std::vector<CommandLine>;

TEST(SendToDesktopEntry, ReadsTheKeysOfItsGroupWithEscapesUndone) {
    const DesktopEntry entry = ParseDesktopEntry("# comment\n"
                                                 "[Desktop Action new]\nExec=other\n"
                                                 "[Desktop Entry]\r\n"
                                                 "Type = Application\r\n"
                                                 "Name[de]=Bearbeiter\nName=Editor\\sPlus\n"
                                                 "Exec=edit \"a \\\\\"b\\\\\"\" %F\n"
                                                 "Icon=accessories-text-editor\nPath=/tmp\n");
    EXPECT_EQ(entry.type, "Application");
    EXPECT_EQ(entry.name, "Editor Plus");
    EXPECT_EQ(entry.exec, "edit \"a \\\"b\\\"\" %F");
    EXPECT_EQ(entry.icon, "accessories-text-editor");
    EXPECT_EQ(entry.path, "/tmp");
    EXPECT_EQ(ExpandExecLine(entry, "/s/e.desktop", {"/x"}), (Lines{{"edit", "a \"b\"", "/x"}}));
}

TEST(SendToDesktopEntry, ExecLines) {
    const std::vector<std::string> two = {"/d/one file", "/d/\xff\xfe raw"};
    const struct {
        const char* exec;
        std::vector<std::string> files;
        Lines lines;
    } cases[] = {
        {"prog %F", two, {{"prog", two[0], two[1]}}},
        {"prog %U", two, {{"prog", two[0], two[1]}}},
        {"prog --one %f", two, {{"prog", "--one", two[0]}, {"prog", "--one", two[1]}}},
        {"prog --file=%u", {"/x"}, {{"prog", "--file=/x"}}},
        {"\"/opt/my app/run\"  --title=\"A b\"\t%F",
         {"/x"},
         {{"/opt/my app/run", "--title=A b", "/x"}}},
        {"prog \"\\$HOME \\`x\\` \\\\\" 50%%", {}, {{"prog", "$HOME `x` \\", "50%"}}},
        {"prog %i %c %k %d %F", {"/x"}, {{"prog", "--icon", "ic", "Name", "/s/e.desktop", "/x"}}},
        {"prog", two, {{"prog", two[0], two[1]}}}, // no file code: the files at the end
        {"prog %F", {}, {{"prog"}}},
        {"prog %f", {}, {{"prog"}}},
        {"sh -c 'rm -rf ~' %F", {"/x"}, {{"sh", "-c", "'rm", "-rf", "~'", "/x"}}},
        // Not valid: nothing starts.
        {"", two, {}},
        {"prog \"open", two, {}},
        {"prog %x", two, {}},
        {"prog --all=%F", two, {}},
        {"%f", {}, {}},
    };
    const DesktopEntry base{"Application", "Name", "ic", "", ""};
    for (const auto& c : cases) {
        DesktopEntry entry = base;
        entry.exec = c.exec;
        EXPECT_EQ(ExpandExecLine(entry, "/s/e.desktop", c.files), c.lines) << c.exec;
    }
}

} // namespace
} // namespace quarn::test
