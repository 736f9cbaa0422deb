// The file list's columns: the rows' texts, the widths and where they come from, sorting.
#include "shell/list/ShellListColumns.h"

#include "ControlTestSupport.h"
#include "ListFixture.h"
#include "namespace/MountTable.h"
#include "platform/Registry.h"
#include "platform/gui/DesignScale.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/list/DetailTexts.h"
#include "shell/list/ShellListData.h"
#include "shell/views/HeaderSortArrow.h"

#include <QHeaderView>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <algorithm>
#include <cmath>
#include <fstream>
#include <gtest/gtest.h>
#include <numeric>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;
using Row = std::vector<std::string>;

const std::string Modified = "1/2/21 3:04 PM";

std::vector<Row> Cells(TSCCustomShellList& list) {
    std::vector<Row> rows;
    for (int row = 0; row < list.Count(); ++row) {
        rows.push_back({CellText(list, row, 0), CellText(list, row, 1), CellText(list, row, 2),
                        CellText(list, row, 3)});
    }
    return rows;
}

TEST_F(ShellListTest, RowsShowTheirOwnSizeTypeAndDate) {
    Show("files");
    ASSERT_EQ(list.ColumnKind(), TSCColumnKind::Own);
    EXPECT_EQ(Cells(list), (std::vector<Row>{
                               {"link to sub", "", "folder", Modified},
                               {"sub", "", "folder", Modified},
                               {"a.txt", "0KB", "plain text document", Modified},
                               {"A.txt", "1KB", "plain text document", Modified},
                               {"ARCHIVE.ZIP", "1KB", "Zip archive", Modified},
                               {"b.bin", "1KB", "unknown", Modified},
                               {"c.TXT", "2KB", "plain text document", Modified},
                               {"huge.bin", "5,242,880KB", "unknown", Modified},
                               {"STRASSE.txt", "1KB", "plain text document", Modified},
                               {"straße.txt", "1KB", "plain text document", Modified},
                               {"w*?.txt", "2KB", "plain text document", Modified},
                               {"wide.txt", "1,500KB", "plain text document", Modified},
                               {"\xEF\xBF\xBD\xEF\xBF\xBD raw.bin", "1KB", "unknown", Modified},
                           }))
        << "the names holding \"*\" and \"?\" show their own size, not wide.txt's";
    EXPECT_EQ(list.GetItemData(12)->GetDisplayName(), ListFixture::RawName);
}

TEST(DetailTexts, ADriveRootIsAMountPointAndShowsNoSizeOrDate) {
    TempDir dir;
    std::filesystem::create_directory(dir / "volume");
    WriteFileBytes(dir / "mountinfo",
                   "30 1 0:99 / " + (dir / "volume") + " rw shared:1 - ext4 /dev/sdx1 rw\n");
    ScopedEnvironment mountInfo("QUARN_MOUNTINFO", dir / "mountinfo");
    MountTable::Reload();
    EXPECT_FALSE(IsBeyondDriveRoot("/"));
    EXPECT_FALSE(IsBeyondDriveRoot(dir / "volume"));
    EXPECT_TRUE(IsBeyondDriveRoot("/ab")) << "a short path is no drive root";
    EXPECT_TRUE(IsBeyondDriveRoot(dir.Path()));

    std::string size = "x";
    std::string modified = "x";
    LPITEMIDLIST raw = nullptr;
    ASSERT_EQ(PathToPidl(dir / "volume", raw), S_OK);
    const PidlPtr volume(raw);
    GetFileSizeAndDateTexts(volume.get(), size, modified);
    EXPECT_EQ(size, "");
    EXPECT_EQ(modified, "");
    ASSERT_EQ(PathToPidl(dir.Path(), raw), S_OK);
    const PidlPtr folder(raw);
    GetFileSizeAndDateTexts(folder.get(), size, modified);
    EXPECT_EQ(size, "") << "a folder has no size";
    EXPECT_NE(modified, "");
    MountTable::Reload();
}

// Containers mount single files over others, as /etc/hosts.
TEST_F(ShellListTest, OnlyAFolderCanBeADriveRoot) {
    TempDir dir;
    {
        const auto mountLine = [](const std::string& mountPoint) {
            return "30 1 0:99 / " + mountPoint + " rw shared:1 - ext4 /dev/sdx1 rw\n";
        };
        WriteFileBytes(dir / "mountinfo", mountLine(fixture.Path("files/c.TXT")) +
                                              mountLine(fixture.Path("files/sub")));
        ScopedEnvironment mountInfo("QUARN_MOUNTINFO", dir / "mountinfo");
        MountTable::Reload();
        Show("files");
        EXPECT_EQ(Cells(list)[RowNamed(list, "c.TXT")],
                  (Row{"c.TXT", "2KB", "plain text document", Modified}))
            << "a file mounted on its own is an entry like any other";
        EXPECT_EQ(CellText(list, RowNamed(list, "sub"), 3), "") << "a folder holding a volume";
    }
    MountTable::Reload();
}

std::vector<int> Widths(TSCCustomShellList& list) {
    std::vector<int> widths;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        widths.push_back(list.ColumnWidth(column));
    }
    return widths;
}

// The own columns' default widths, design pixels, in the list's font.
std::vector<int> DefaultWidths(const TSCCustomShellList& list) {
    const DesignScale px = DesignScale::Of(list);
    return {px(200), px(70), px(115), px(120)};
}

void WriteDirectoryCols(const std::vector<std::uint8_t>& bytes) {
    TRegistry registry(RegistryRoot::CurrentUser);
    ASSERT_TRUE(registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", true));
    registry.WriteBinaryData("DirectoryCols", bytes);
}

void DeleteDirectoryCols() {
    TRegistry registry(RegistryRoot::CurrentUser);
    if (registry.OpenKey("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer", false)) {
        registry.DeleteValue("DirectoryCols");
    }
}

TEST_F(ShellListTest, OwnColumnsStartFromTheDefaultsWithSizeRightAligned) {
    DeleteDirectoryCols();
    Show("files");
    const auto header = [&](int column, int role) {
        return list.Items().headerData(column, Qt::Horizontal, role);
    };
    EXPECT_EQ(header(0, Qt::DisplayRole).toString(), "Name");
    EXPECT_EQ(header(1, Qt::DisplayRole).toString(), "Size");
    EXPECT_EQ(header(2, Qt::DisplayRole).toString(), "Type");
    EXPECT_EQ(header(3, Qt::DisplayRole).toString(), "Modified");
    EXPECT_EQ(list.ColumnCount(), 4);
    EXPECT_EQ(Widths(list), DefaultWidths(list));
    EXPECT_TRUE(header(1, Qt::TextAlignmentRole).value<Qt::Alignment>() & Qt::AlignRight);
    EXPECT_TRUE(list.Items().index(2, 1).data(Qt::TextAlignmentRole).value<Qt::Alignment>() &
                Qt::AlignRight);
}

TEST_F(ShellListTest, WidthsFollowTheListWhileTheProgramRunsUnlessExplorersValueChanges) {
    WriteDirectoryCols({150, 0, 70, 0, 90, 0, 110, 0, 50, 0});
    Show("files");
    EXPECT_EQ(Widths(list), (std::vector<int>{150, 70, 90, 110}))
        << "the user's own widths, in the pixels they were set in";

    list.SetColumnWidth(0, 321);
    Show("files/sub");
    EXPECT_EQ(Widths(list), (std::vector<int>{321, 70, 90, 110}));
    {
        TSCShellList another;
        another.Folder().SetPath(fixture.Path("files"));
        ShowAndSettle(another);
        EXPECT_EQ(Widths(another), (std::vector<int>{321, 70, 90, 110}))
            << "one store for every list";
    }

    WriteDirectoryCols({180, 0, 70, 0, 90, 0, 110, 0, 50, 0});
    Show("files");
    EXPECT_EQ(Widths(list), (std::vector<int>{180, 70, 90, 110})) << "Explorer's value wins";

    WriteDirectoryCols(std::vector<std::uint8_t>(24, 1));
    LastDirectoryCols() = TSCDirectoryCols{{}, 0};
    Show("files/sub");
    EXPECT_EQ(Widths(list), DefaultWidths(list)) << "a value over 22 bytes is ignored";

    WriteDirectoryCols({150, 0, 70});
    LastDirectoryCols() = TSCDirectoryCols{{}, 0};
    Show("files");
    const std::vector<int> defaults = DefaultWidths(list);
    EXPECT_EQ(Widths(list), (std::vector<int>{150, 70, defaults[2], defaults[3]}))
        << "a short value gives its own words; the rest are the defaults";
    DeleteDirectoryCols();
}

std::vector<int> ShownWidths(TSCCustomShellList& list) {
    std::vector<int> widths;
    for (int column = 0; column < list.ColumnCount(); ++column) {
        widths.push_back(list.ReportView()->header()->sectionSize(column));
    }
    return widths;
}

// Each shown width is the own one times the same factor, to a pixel.
void ExpectInProportion(const std::vector<int>& shown, const std::vector<int>& own, double factor) {
    ASSERT_EQ(shown.size(), own.size());
    for (std::size_t column = 0; column < own.size(); ++column) {
        EXPECT_NEAR(shown[column], own[column] * factor, 1.0) << "column " << column;
    }
}

TEST_F(ShellListTest, AWideListSharesItsWidthAmongTheColumnsInTheirRatios) {
    DeleteDirectoryCols();
    Show("files");
    const std::vector<int> own = Widths(list);
    EXPECT_EQ(ShownWidths(list), own) << "a list narrower than its columns scrolls them";

    list.resize(1600, 300);
    QTreeView* view = list.ReportView();
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->viewport()->width() > 1500; }));
    const int room = view->viewport()->width();
    std::vector<int> shown = ShownWidths(list);
    EXPECT_EQ(std::accumulate(shown.begin(), shown.end(), 0), room);
    const double factor = double(room) / std::accumulate(own.begin(), own.end(), 0);
    ExpectInProportion(shown, own, factor);
    EXPECT_EQ(view->horizontalScrollBar()->maximum(), 0);
    EXPECT_EQ(Widths(list), own) << "the own widths are what the list keeps";

    // An edge dragged: that column's own width is what it shows without the share.
    view->header()->resizeSection(0, shown[0] + 100);
    std::vector<int> dragged = own;
    dragged[0] = static_cast<int>(std::lround((shown[0] + 100) / factor));
    EXPECT_EQ(Widths(list), dragged);
    EXPECT_EQ(ShownWidths(list)[1], shown[1]) << "the others stay until the list's width changes";

    list.resize(400, 300);
    ASSERT_TRUE(QTest::qWaitFor([&] { return view->viewport()->width() < 500; }));
    EXPECT_EQ(ShownWidths(list), dragged);
    Show("files/sub");
    EXPECT_EQ(Widths(list), dragged) << "the store keeps the own widths";
}

std::vector<std::string> FileRows(TSCCustomShellList& list) {
    auto names = RowNames(list);
    std::erase_if(names, [](const std::string& name) { return name.find("sub") != name.npos; });
    return names;
}

void ClickHeader(TSCCustomShellList& list, int column) {
    QHeaderView* header = list.ReportView()->header();
    const int x = header->sectionViewportPosition(column) + header->sectionSize(column) / 2;
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, QPoint(x, header->height() / 2));
}

TEST_F(ShellListTest, ColumnClicksSortAndToggleTheSignedKey) {
    Show("files");
    EXPECT_EQ(list.SortKey(), 1);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->IndicatorOrder(0), Qt::AscendingOrder);

    ClickHeader(list, 1);
    EXPECT_EQ(list.SortKey(), 2);
    EXPECT_EQ(RowNames(list)[0], "link to sub") << "folders first";
    EXPECT_EQ(FileRows(list),
              (Texts{"a.txt", "A.txt", ListFixture::RawName, "straße.txt", "STRASSE.txt",
                     "ARCHIVE.ZIP", "b.bin", "c.TXT", "w*?.txt", "wide.txt", "huge.bin"}));
    EXPECT_EQ(header->IndicatorOrder(0), std::nullopt);
    EXPECT_EQ(header->IndicatorOrder(1), Qt::AscendingOrder);

    ClickHeader(list, 1);
    EXPECT_EQ(list.SortKey(), -2);
    EXPECT_EQ(header->IndicatorOrder(1), Qt::DescendingOrder);
    EXPECT_EQ(FileRows(list),
              (Texts{"huge.bin", "wide.txt", "w*?.txt", "c.TXT", "b.bin", "ARCHIVE.ZIP",
                     "STRASSE.txt", "straße.txt", ListFixture::RawName, "A.txt", "a.txt"}));
    EXPECT_EQ(RowNames(list).back(), "link to sub") << "descending turns the whole order";

    ClickHeader(list, 1);
    EXPECT_EQ(list.SortKey(), 2) << "the sorted column twice returns to ascending";

    ClickHeader(list, 2);
    EXPECT_EQ(list.SortKey(), 3);
    EXPECT_EQ(FileRows(list),
              (Texts{"b.bin", "huge.bin", ListFixture::RawName, "a.txt", "A.txt", "STRASSE.txt",
                     "straße.txt", "w*?.txt", "wide.txt", "c.TXT", "ARCHIVE.ZIP"}))
        << "by extension, then by name";

    SetModifiedTime(fixture.Path("files/wide.txt"), ListFixture::ModifiedTime - 60);
    SetModifiedTime(fixture.Path("files/b.bin"), ListFixture::ModifiedTime + 60);
    Show("files/sub");
    Show("files");
    ClickHeader(list, 3);
    EXPECT_EQ(list.SortKey(), 4);
    const auto byTime = FileRows(list);
    EXPECT_EQ(byTime.front(), "wide.txt");
    EXPECT_EQ(byTime.back(), "b.bin");

    ClickHeader(list, 0);
    EXPECT_EQ(list.SortKey(), 1);
    EXPECT_EQ(FileRows(list),
              (Texts{"a.txt", "A.txt", "ARCHIVE.ZIP", "b.bin", "c.TXT", "huge.bin", "STRASSE.txt",
                     "straße.txt", "w*?.txt", "wide.txt", ListFixture::RawName}));
}

TEST_F(ShellListTest, KeyZeroOrdersTheRowsByTheBytesOfTheirCaptions) {
    Show("files");
    const auto byName = RowNames(list);
    ASSERT_FALSE(std::is_sorted(byName.begin(), byName.end()));
    list.SetSortKey(0);
    const auto captions = RowNames(list);
    EXPECT_TRUE(std::is_sorted(captions.begin(), captions.end())) << "folders among the files";
    EXPECT_TRUE(std::is_permutation(captions.begin(), captions.end(), byName.begin()));
}

TEST_F(ShellListTest, AColumnClickHandlerThatSetsTheKeyDecides) {
    Show("files");
    std::vector<int> clicked;
    list.OnColumnClick = [&](QWidget*, int column) {
        clicked.push_back(column);
        list.SetSortKey(-1);
    };
    ClickHeader(list, 2);
    EXPECT_EQ(clicked, std::vector<int>{2});
    EXPECT_EQ(list.SortKey(), -1);
    EXPECT_EQ(RowNames(list).front(), ListFixture::RawName);
    ClickHeader(list, 2);
    TSCSortHeaderView* header = list.GetHeaderHandle();
    ASSERT_NE(header, nullptr);
    EXPECT_EQ(header->IndicatorOrder(0), Qt::DescendingOrder)
        << "the header shows the key, not the click";
    EXPECT_EQ(header->IndicatorOrder(2), std::nullopt);
}

TEST_F(ShellListTest, AKeyBeyondTheColumnsBecomesOneAtTheNextBuild) {
    Show("files");
    list.SetSortKey(5);
    EXPECT_EQ(list.SortKey(), 5);
    Show("files/sub");
    EXPECT_EQ(list.SortKey(), 1);
    list.SetSortKey(-4);
    Show("files");
    EXPECT_EQ(list.SortKey(), -4) << "a key within the columns stays";
}

} // namespace
} // namespace quarn::test
