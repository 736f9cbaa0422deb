// The file list: rows, the program's filter, the selection and failed fills.
#include "shell/list/ShellList.h"

#include "ControlTestSupport.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "shell/common/ShellErrors.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/list/ShellListData.h"

#include <QAbstractItemModelTester>
#include <QAccessible>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QTest>
#include <QTreeView>
#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <memory>
#include <sys/stat.h>

namespace quarn::test {
namespace {

using Texts = std::vector<std::string>;

std::vector<std::string> RowNames(TSCCustomShellList& list) {
    std::vector<std::string> names;
    for (int row = 0; row < list.Count(); ++row) {
        names.push_back(list.GetItemData(row)->GetDisplayName());
    }
    return names;
}

class ShellList : public ::testing::Test {
protected:
    ShellList() {
        list.OnAddItem = KeepPlainFilesAndZips;
        ShowAndSettle(list);
    }
    ~ShellList() override { EXPECT_EQ((*messages).Texts(), Texts{}); }
    void Show(const std::string& relative) { list.Folder().SetPath(fixture.Path(relative)); }

    ScopedScriptedMessages messages;
    ControlFixture fixture;
    TSCShellList list;
};

TEST_F(ShellList, ShowsTheFilesTheProgramKeepsWithTheirExactNames) {
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    Show("files");
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(RowNames(list), (Texts{"a::b.txt", "ARCHIVE.ZIP", "name with spaces.txt",
                                     "star*?.txt", ControlFixture::RawName}));
    EXPECT_EQ(list.GetItemData(2)->GetPath(), fixture.Path("files/name with spaces.txt"));
    EXPECT_EQ(list.Items().index(4, 0).data().toString(),
              QString::fromUtf8(ControlFixture::RawName))
        << "shown with replacement characters, handed over as bytes";
    EXPECT_EQ(list.SelectionModel()->currentIndex().row(), 0) << "the first row has the focus";
    EXPECT_EQ(list.SelCount(), 0) << "but is not selected";
}

TEST_F(ShellList, WithoutAFilterFoldersComeFirstAndLinksAreListed) {
    list.OnAddItem = nullptr;
    Show("files");
    EXPECT_EQ(RowNames(list),
              (Texts{"sub", "a::b.txt", "ARCHIVE.ZIP", "link.txt", "name with spaces.txt",
                     "star*?.txt", ControlFixture::RawName}));
    EXPECT_TRUE(list.GetItemData(0)->IsFolder());
    EXPECT_TRUE(list.GetItemData(3)->GetAttributes() & SFGAO_LINK);
}

TEST_F(ShellList, TheSelectionGivesItsNamesInListOrder) {
    Show("files");
    list.setFocus();
    QTest::keyClick(list.View(), Qt::Key_End);
    QTest::keyClick(list.View(), Qt::Key_Home, Qt::ShiftModifier);
    EXPECT_EQ(list.SelCount(), 5);
    QTest::keyClick(list.View(), Qt::Key_Down, Qt::ControlModifier);
    QTest::keyClick(list.View(), Qt::Key_Space, Qt::ControlModifier); // toggles row 1 off
    EXPECT_EQ(list.SelectedDisplayNames(),
              (Texts{"a::b.txt", "name with spaces.txt", "star*?.txt", ControlFixture::RawName}));

    // The program collects the selection one row at a time, unselecting each.
    Texts collected;
    for (int count = list.SelCount(); count > 0; --count) {
        const int row = list.Selected();
        collected.push_back(list.GetItemData(row)->GetDisplayName());
        list.SetSelected(row, false);
    }
    EXPECT_EQ(collected,
              (Texts{"a::b.txt", "name with spaces.txt", "star*?.txt", ControlFixture::RawName}));
    EXPECT_EQ(list.Selected(), -1);

    QTest::keyClick(list.View(), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(list.SelCount(), 5);
}

// The main window listens to the selection and is half destroyed when its list goes.
TEST(ShellListLifetime, ADestroyedListSignalsNoChangeOfItsSelection) {
    ControlFixture fixture;
    auto list = std::make_unique<TSCShellList>();
    ShowAndSettle(*list);
    list->Folder().SetPath(fixture.Path("files"));
    list->SelectAllItems();
    ASSERT_GT(list->SelCount(), 0);
    int changes = 0;
    QObject::connect(list->SelectionModel(), &QItemSelectionModel::selectionChanged,
                     [&] { ++changes; });
    list.reset();
    EXPECT_EQ(changes, 0);
}

TEST_F(ShellList, ClicksAndKeysReachTheProgram) {
    Show("files");
    int clicks = 0;
    std::vector<int> keysUp;
    list.OnClick = [&](QWidget* sender) {
        EXPECT_EQ(sender, &list);
        ++clicks;
    };
    list.OnKeyUp = [&](QWidget*, QKeyEvent* event) { keysUp.push_back(event->key()); };
    auto* view = static_cast<QTreeView*>(list.View());
    const QRect row = view->visualRect(list.Items().index(2, 0));
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, row.center());
    EXPECT_EQ(clicks, 1);
    EXPECT_EQ(list.SelectedItems(), std::vector<int>{2});
    QTest::keyClick(view, Qt::Key_Down);
    EXPECT_EQ(keysUp, std::vector<int>{Qt::Key_Down});
    EXPECT_EQ(list.SelectedItems(), std::vector<int>{3});
}

TEST_F(ShellList, GoUpAndNavigateTo) {
    Show("files/sub");
    list.GoUp(1);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files"));
    EXPECT_EQ(list.Count(), 5);

    const PidlPtr same = ParsePath(fixture.Path("files"));
    list.NavigateTo(same.get());
    EXPECT_EQ(list.Count(), 5) << "going to the folder shown lists it again";

    list.GoUp(1000);
    EXPECT_EQ(list.Folder().GetPidl(), nullptr) << "past the top is the desktop";
}

TEST_F(ShellList, ItemsKeepWhatTheListingRecorded) {
    WriteFileBytes(fixture.Path("one/two/leaf.txt"), std::string(1234, 'x'));
    const timespec times[2] = {{1'600'000'000, 0}, {1'600'000'000, 0}};
    ASSERT_EQ(utimensat(AT_FDCWD, fixture.Path("one/two/leaf.txt").c_str(), times, 0), 0);
    list.OnAddItem = nullptr;
    Show("one/two");
    ASSERT_EQ(RowNames(list), (Texts{"three", "leaf.txt"}));
    WriteFileBytes(fixture.Path("one/two/leaf.txt"), "grown after the listing");

    TSCShListData* leaf = list.GetItemData(1);
    EXPECT_EQ(leaf->GetFileSize(), std::optional<std::uint64_t>(1234));
    EXPECT_EQ(leaf->GetModifiedTime()->toSecsSinceEpoch(), 1'600'000'000);
    EXPECT_EQ(list.GetItemData(0)->GetFileSize(), std::nullopt) << "a folder has no size";
}

// A folder whose listing breaks off: one item, then the given code.
class BreakingFolder : public FakeFolder {
public:
    explicit BreakingFolder(HRESULT end) : end_(end) {}
    HRESULT EnumObjects(HWND, SHCONTF, IEnumIDList** items) override {
        *items = MakeCom<ScriptedListing>(std::vector<std::string>{"F item"}, end_).Detach();
        return S_OK;
    }

private:
    HRESULT end_;
};

class FillingList : public TSCShellList {
public:
    using TSCShellList::FillList;
};

TEST_F(ShellList, TheUserIsToldOnceWhyAFolderCannotBeListed) {
    Show("one/two");
    ASSERT_EQ(RowNames(list), Texts{"leaf.txt"});
    std::filesystem::remove_all(fixture.Path("one/two"));
    list.Refresh();
    EXPECT_EQ(list.Count(), 0);
    EXPECT_EQ((*messages).Texts(), Texts{}) << "a refresh lists without an owner window";
    list.FillFromFolder();
    EXPECT_EQ((*messages).Texts(), Texts{"Unable to list the folder '" + fixture.Path("one/two") +
                                         "': No such file or directory."});
    (*messages).shown.clear();
}

TEST_F(ShellList, AFailedFillPutsBackTheFolderAndItsList) {
    FillingList filling;
    filling.Folder().SetPath(fixture.Path("files")); // no window yet: nothing is read
    ShowAndSettle(filling);
    ASSERT_EQ(filling.Count(), 7);
    IShellFolder* before = filling.CurrentFolder();
    const std::string beforePath = PidlToPath(filling.CurrentAbsolutePidl());
    const PidlPtr elsewhere = ParsePath(fixture.Path("other"));

    auto broken = MakeCom<BreakingFolder>(HResultFromErrno(EIO));
    EXPECT_THROW(filling.FillList(broken.get(), elsewhere.get()), std::runtime_error);
    EXPECT_EQ(filling.CurrentFolder(), before);
    EXPECT_EQ(PidlToPath(filling.CurrentAbsolutePidl()), beforePath);
    EXPECT_EQ(filling.Count(), 7) << "no row of the other folder joins the old one";

    auto ended = MakeCom<BreakingFolder>(E_FAIL);
    EXPECT_THROW(filling.FillList(ended.get(), elsewhere.get()), EAbort);
    EXPECT_EQ(filling.CurrentFolder(), before);
}

TEST_F(ShellList, RowsReachScreenReaders) {
    Show("files");
    QAccessibleInterface* view = QAccessible::queryAccessibleInterface(list.View());
    ASSERT_NE(view, nullptr);
    bool found = false;
    for (int i = 0; i < view->childCount(); ++i) {
        found = found || view->child(i)->text(QAccessible::Name) == "name with spaces.txt";
    }
    EXPECT_TRUE(found);
}

TEST_F(ShellList, TheModelPassesTheModelChecker) {
    ModelCheckerReports reports;
    QAbstractItemModelTester checker(&list.Items(),
                                     QAbstractItemModelTester::FailureReportingMode::Warning);
    list.OnAddItem = nullptr;
    Show("files");
    list.SelectAllItems();
    Show("one/two");
    EXPECT_EQ(reports.messages, Texts{});
}

} // namespace
} // namespace quarn::test
