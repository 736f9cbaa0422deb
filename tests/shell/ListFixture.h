#pragma once

// What the file list tests share: a folder of awkward names, sizes and times, and a list
// shown on the offscreen screen.

#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "shell/list/ShellList.h"

#include <QLocale>
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarn::test {

// files/: the case twins "a.txt" and "A.txt", a raw-byte name, "w*?.txt" beside "wide.txt",
// a 5 GiB sparse file, a ".ZIP", "straße.txt" beside "STRASSE.txt", the folder "sub" and
// the link "link to sub"; every entry modified at ModifiedTime.
class ListFixture {
public:
    ListFixture();
    std::string Path(const std::string& relative = "") const;

    static const std::string RawName;                           // not UTF-8
    static constexpr std::int64_t ModifiedTime = 1'609'599'845; // 2021-01-02 15:04:05 UTC
    static constexpr std::uint64_t HugeSize = 5ull * 1024 * 1024 * 1024;

private:
    TempDir dir_;
};

void SetModifiedTime(const std::string& path, std::int64_t seconds);

std::vector<std::string> RowNames(TSCCustomShellList& list);
// A cell as the report view shows it.
std::string CellText(TSCCustomShellList& list, int row, int column);
int RowNamed(TSCCustomShellList& list, const std::string& name);

// A shown list with every default, in UTC and the US English locale, with scripted message
// boxes (none expected) and the column widths of a newly started program.
class ShellListTest : public ::testing::Test {
protected:
    ShellListTest();
    ~ShellListTest() override;
    void Show(const std::string& relative) { list.Folder().SetPath(fixture.Path(relative)); }

    ScopedEnvironment timeZone{"TZ", "UTC"};
    ScopedScriptedMessages messages;
    ListFixture fixture;
    TSCShellList list;
};

} // namespace quarn::test
