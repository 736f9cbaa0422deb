// The file list's refresh by difference, and fills and refreshes that start inside another.
#include "ControlTestSupport.h"
#include "ListFixture.h"
#include "ShellTestSupport.h"
#include "namespace/MountTable.h"
#include "namespace/Namespace.h"
#include "shell/common/ShellGuard.h"
#include "shell/devices/DeviceChangeHandler.h"
#include "shell/dragdrop/DropSource.h"
#include "shell/idlist/ShellFolders.h"
#include "shell/idlist/ShellItemRoutines.h"
#include "shell/list/ShellListData.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QItemSelectionModel>
#include <QMouseEvent>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cerrno>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <set>

namespace quarn::test {
namespace {

using Names = std::vector<std::string>;

TEST_F(ShellListTest, ARefreshKeepsTheSelectionAndAppendsNewItems) {
    ModelCheckerReports reports;
    QAbstractItemModelTester checker(&list.Items(),
                                     QAbstractItemModelTester::FailureReportingMode::Warning);
    Show("files");
    list.SetSelected(RowNamed(list, "b.bin"), true);
    list.SetSelected(RowNamed(list, "wide.txt"), true);
    list.SelectionModel()->setCurrentIndex(list.Items().index(RowNamed(list, "wide.txt"), 0),
                                           QItemSelectionModel::NoUpdate);
    const int count = list.Count();
    std::set<std::string> deleted;
    list.OnDeleteItem = [&](QWidget*, int row, TSCShListData* data) {
        EXPECT_EQ(list.GetItemData(row), data);
        deleted.insert(data->GetDisplayName());
    };

    WriteFileBytes(fixture.Path("files/new.txt"), "new");
    std::filesystem::remove(fixture.Path("files/c.TXT"));
    WriteFileBytes(fixture.Path("files/A.txt"), std::string(3000, 'x'));
    list.Refresh();

    EXPECT_EQ(deleted, (std::set<std::string>{"A.txt", "c.TXT"})) << "A.txt changed";
    EXPECT_EQ(list.Count(), count);
    EXPECT_EQ(list.SelectedDisplayNames(), (Names{"b.bin", "wide.txt"}));
    EXPECT_EQ(list.ItemFocused(), RowNamed(list, "wide.txt"));
    const auto rows = RowNames(list);
    EXPECT_EQ(std::set<std::string>(rows.end() - 2, rows.end()),
              (std::set<std::string>{"A.txt", "new.txt"}))
        << "new and changed items come at the end, unsorted";
    EXPECT_EQ(RowNamed(list, "c.TXT"), -1);
    EXPECT_EQ(CellText(list, RowNamed(list, "A.txt"), 1), "3KB") << "a grown file shows its size";
    EXPECT_EQ(reports.messages, Names{});
}

// A folder whose listing breaks off with an input/output error after a number of items,
// once told to; it answers everything else as the real folder does.
class BreakingFolder final : public ComObject<IShellFolder> {
public:
    explicit BreakingFolder(ComPtr<IShellFolder> real) : real_(std::move(real)) {}

    int breakAfter = -1; // items before the error; -1: none
    Names read;          // the names the last listing handed out

    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IShellFolder>(this, iid, object);
    }
    HRESULT ParseDisplayName(HWND owner, IBindCtx* context, const std::string& name, ULONG* eaten,
                             LPITEMIDLIST* list, SFGAOF* attributes) override {
        return real_->ParseDisplayName(owner, context, name, eaten, list, attributes);
    }
    HRESULT EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) override;
    HRESULT BindToObject(LPCITEMIDLIST list, IBindCtx* context, const IID& iid,
                         void** object) override {
        return real_->BindToObject(list, context, iid, object);
    }
    HRESULT BindToStorage(LPCITEMIDLIST list, IBindCtx* context, const IID& iid,
                          void** object) override {
        return real_->BindToStorage(list, context, iid, object);
    }
    HRESULT CompareIDs(std::intptr_t lParam, LPCITEMIDLIST a, LPCITEMIDLIST b) override {
        return real_->CompareIDs(lParam, a, b);
    }
    HRESULT CreateViewObject(HWND owner, const IID& iid, void** object) override {
        return real_->CreateViewObject(owner, iid, object);
    }
    HRESULT GetAttributesOf(ULONG count, const LPCITEMIDLIST* items, SFGAOF* attributes) override {
        return real_->GetAttributesOf(count, items, attributes);
    }
    HRESULT GetUIObjectOf(HWND owner, ULONG count, const LPCITEMIDLIST* items, const IID& iid,
                          ULONG* reserved, void** object) override {
        return real_->GetUIObjectOf(owner, count, items, iid, reserved, object);
    }
    HRESULT GetDisplayNameOf(LPCITEMIDLIST item, SHGDNF flags, STRRET* name) override {
        return real_->GetDisplayNameOf(item, flags, name);
    }
    HRESULT SetNameOf(HWND owner, LPCITEMIDLIST item, const std::string& name, SHGDNF flags,
                      LPITEMIDLIST* newItem) override {
        return real_->SetNameOf(owner, item, name, flags, newItem);
    }

private:
    ComPtr<IShellFolder> real_;
};

class BreakingListing final : public ComObject<IEnumIDList> {
public:
    BreakingListing(BreakingFolder& folder, ComPtr<IEnumIDList> real)
        : folder_(folder), real_(std::move(real)) {}
    HRESULT QueryInterface(const IID& iid, void** object) override {
        return QueryOwnInterface<IEnumIDList>(this, iid, object);
    }
    HRESULT Next(ULONG count, LPITEMIDLIST* items, ULONG* fetched) override {
        if (folder_.breakAfter >= 0 &&
            static_cast<int>(folder_.read.size()) >= folder_.breakAfter) {
            *fetched = 0;
            return HResultFromErrno(EIO);
        }
        const HRESULT hr = real_->Next(count, items, fetched);
        if (hr == S_OK) {
            folder_.read.push_back(GetChildDisplayName(&folder_, items[0], SHGDN_INFOLDER));
        }
        return hr;
    }
    HRESULT Skip(ULONG) override { return E_NOTIMPL; }
    HRESULT Reset() override { return E_NOTIMPL; }
    HRESULT Clone(IEnumIDList**) override { return E_NOTIMPL; }

private:
    BreakingFolder& folder_;
    ComPtr<IEnumIDList> real_;
};

HRESULT BreakingFolder::EnumObjects(HWND owner, SHCONTF flags, IEnumIDList** items) {
    ComPtr<IEnumIDList> real;
    if (const HRESULT hr = real_->EnumObjects(owner, flags, real.Put()); Failed(hr)) {
        return hr;
    }
    read.clear();
    *items = MakeCom<BreakingListing>(*this, std::move(real)).Detach();
    return S_OK;
}

class FillingList : public TSCShellList {
public:
    using TSCShellList::FillList;
};

TEST_F(ShellListTest, AReadErrorDuringARefreshKeepsWhatWasReadAndIsShown) {
    const PidlPtr files = ParsePath(fixture.Path("files"));
    ComPtr<IShellFolder> real;
    ASSERT_EQ(GetPidlFolder(files.get(), real), S_OK);
    const auto breaking = MakeCom<BreakingFolder>(real);
    FillingList filling;
    filling.FillList(breaking.get(), files.get());
    ShowAndSettle(filling); // filled already: the window reads nothing more
    const Names all = RowNames(filling);
    ASSERT_EQ(all.size(), 13u);

    breaking->breakAfter = 4;
    RunShellGuarded([&] { filling.Refresh(); });
    EXPECT_EQ((*messages).Texts(), Names{"Input/output error"});
    (*messages).shown.clear();
    Names rows = RowNames(filling);
    Names read = breaking->read;
    std::sort(rows.begin(), rows.end());
    std::sort(read.begin(), read.end());
    EXPECT_EQ(rows, read) << "the items read before the error stay";
    EXPECT_EQ(rows.size(), 4u);

    breaking->breakAfter = -1;
    filling.Refresh();
    EXPECT_EQ(RowNames(filling).size(), all.size()) << "the next refresh brings the rest back";
}

TEST_F(ShellListTest, HiddenItemsGoWhenShowHiddenIsSwitchedOff) {
    WriteFileBytes(fixture.Path("files/.hidden"), "h");
    Show("files");
    ASSERT_NE(RowNamed(list, ".hidden"), -1);
    list.WriteOptions(list.Options() & ~scsloShowHidden);
    EXPECT_EQ(RowNamed(list, ".hidden"), -1);
}

TEST_F(ShellListTest, AFillOrRefreshAskedForInsideARefreshWaitsForItsEnd) {
    Show("files");
    const Names before = RowNames(list);
    int nested = 0;
    bool pendingInside = false;
    list.OnAddItem = [&](QWidget*, IShellFolder*, LPCITEMIDLIST, LPCITEMIDLIST, SFGAOF, bool&) {
        ++nested;
        list.Refresh();
        list.FillFromFolder();
        pendingInside = list.RefreshPending();
    };
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    WriteFileBytes(fixture.Path("files/new.txt"), "new");
    list.Refresh();
    EXPECT_TRUE(pendingInside) << "the nested requests only mark the list";
    EXPECT_EQ(nested, 1) << "only new.txt was judged";
    EXPECT_EQ(fills, 2) << "one more refresh ran after the first";
    EXPECT_FALSE(list.RefreshPending());
    Names expected = before;
    expected.push_back("new.txt");
    std::sort(expected.begin(), expected.end());
    Names rows = RowNames(list);
    std::sort(rows.begin(), rows.end());
    EXPECT_EQ(rows, expected);
}

TEST_F(ShellListTest, AnItemThatFailsToBeAddedIsReportedAndLosesNothingElse) {
    Show("files");
    for (const char* name : {"new1.txt", "new2.txt", "new3.txt"}) {
        WriteFileBytes(fixture.Path(std::string("files/") + name), name);
    }
    list.OnAddItem = [&](QWidget*, IShellFolder* folder, LPCITEMIDLIST, LPCITEMIDLIST item, SFGAOF,
                         bool&) {
        if (GetChildDisplayName(folder, item, SHGDN_INFOLDER) == "new2.txt") {
            throw std::runtime_error("refused");
        }
    };
    const int count = list.Count();
    EXPECT_THROW(list.Refresh(), std::runtime_error);
    EXPECT_EQ((*messages).Texts(), Names{"Exception in AddNewShellItem"});
    (*messages).shown.clear();
    EXPECT_GE(list.Count(), count) << "the rows shown stay";
    EXPECT_LE(list.Count(), count + 2);
    EXPECT_EQ(RowNamed(list, "new2.txt"), -1);
}

TEST_F(ShellListTest, ABusyListDefersAndRunsOneRefreshAtTheEnd) {
    Show("files");
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    list.SetBusy(true);
    WriteFileBytes(fixture.Path("files/new.txt"), "new");
    list.Refresh();
    list.FillFromFolder();
    EXPECT_EQ(fills, 0);
    EXPECT_TRUE(list.RefreshPending());
    list.SetBusy(false);
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(RowNames(list).back(), "new.txt") << "run as a refresh";
}

class NotifiedList : public TSCShellList {
public:
    using TSCShellList::LabelEdited;
    using TSCShellList::WMChangeNotify;
};

TEST(ShellListChanges, NoticesStartTheRefreshTimerWhichRefreshesOnce) {
    ScopedScriptedMessages messages;
    ListFixture fixture;
    NotifiedList list;
    list.Folder().SetPath(fixture.Path("files/sub"));
    ShowAndSettle(list);
    list.setFocus();
    ASSERT_TRUE(list.View()->hasFocus());
    list.WMChangeNotify();
    EXPECT_TRUE(list.RefreshTimer().isActive());
    EXPECT_EQ(list.RefreshTimer().interval(), 400);
    list.clearFocus();
    list.WMChangeNotify();
    EXPECT_EQ(list.RefreshTimer().interval(), 2000) << "slower without the focus";

    WriteFileBytes(fixture.Path("files/sub/new.txt"), "new");
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    list.FlushPendingTimers(false);
    EXPECT_FALSE(list.RefreshTimer().isActive());
    EXPECT_EQ(fills, 1);
    EXPECT_EQ(RowNames(list), std::vector<std::string>{"new.txt"});

    list.SetBusy(true);
    WriteFileBytes(fixture.Path("files/sub/during.txt"), "new");
    list.WMChangeNotify();
    EXPECT_FALSE(list.RefreshTimer().isActive());
    EXPECT_TRUE(list.RefreshPending()) << "a notice during a drag is kept";
    list.SetBusy(false);
    EXPECT_EQ(fills, 2);
    EXPECT_EQ(RowNames(list), (std::vector<std::string>{"new.txt", "during.txt"}));
}

// Starts a drag of the row with the mouse; the drag loop runs during and is cancelled.
void DragRowAndCancel(TSCCustomShellList& list, int row, const std::function<void()>& during) {
    const TDragLoop original = DragLoop();
    DragLoop() = [&](QDrag&, Qt::DropActions, Qt::DropAction) {
        during();
        return Qt::IgnoreAction;
    };
    list.SetSelected(row, true);
    QWidget* viewport = list.View()->viewport();
    const QPoint from = list.View()->visualRect(list.Items().index(row, 0)).center();
    const QPoint to = from + QPoint(0, 30);
    QTest::mousePress(viewport, Qt::LeftButton, {}, from);
    QMouseEvent move(QEvent::MouseMove, to, viewport->mapToGlobal(to), Qt::NoButton, Qt::LeftButton,
                     {});
    QApplication::sendEvent(viewport, &move);
    QTest::mouseRelease(viewport, Qt::LeftButton, {}, to);
    DragLoop() = original;
}

TEST(ShellListChanges, AChangeDuringACancelledDragIsShownOnceAtItsEnd) {
    ScopedScriptedMessages messages;
    ListFixture fixture;
    NotifiedList list;
    list.Folder().SetPath(fixture.Path("files"));
    ShowAndSettle(list);
    int fills = 0;
    list.OnFillComplete = [&](QWidget*) { ++fills; };
    bool dragged = false;
    DragRowAndCancel(list, RowNamed(list, "b.bin"), [&] {
        dragged = list.Busy();
        WriteFileBytes(fixture.Path("files/made during the drag"), "new");
        list.WMChangeNotify();
        EXPECT_EQ(fills, 0) << "not while the drag runs";
    });
    ASSERT_TRUE(dragged);
    EXPECT_FALSE(list.Busy());
    EXPECT_FALSE(list.RefreshPending());
    EXPECT_EQ(fills, 1);
    EXPECT_GE(RowNamed(list, "made during the drag"), 0);
    EXPECT_EQ((*messages).Texts(), std::vector<std::string>{});
}

// Only a rename that changed the disk expects its own notice; a handler that gives the old
// name back renames nothing.
TEST(ShellListChanges, TheNoticeOfTheListsOwnRenameIsIgnored) {
    ScopedScriptedMessages messages;
    ListFixture fixture;
    NotifiedList list;
    list.Folder().SetPath(fixture.Path("files"));
    ShowAndSettle(list);
    list.LabelEdited(RowNamed(list, "b.bin"), "renamed.bin");
    ASSERT_TRUE(PathExists(fixture.Path("files/renamed.bin")));
    list.WMChangeNotify();
    EXPECT_FALSE(list.RefreshTimer().isActive());
    list.WMChangeNotify();
    EXPECT_TRUE(list.RefreshTimer().isActive()) << "only the next one";
    list.FlushPendingTimers(false);

    list.OnEdited = [](QWidget*, int, std::string& text) { text = "renamed.bin"; };
    list.LabelEdited(RowNamed(list, "renamed.bin"), "other.bin");
    ASSERT_TRUE(PathExists(fixture.Path("files/renamed.bin")));
    list.WMChangeNotify();
    EXPECT_TRUE(list.RefreshTimer().isActive()) << "an unchanged rename leaves no skip behind";
    EXPECT_EQ((*messages).Texts(), std::vector<std::string>{});
}

// The disk is as it was, so the next notice is another program's.
TEST(ShellListChanges, ARefusedOwnRenameLeavesNoSkipBehind) {
    ScopedScriptedMessages messages;
    ListFixture fixture;
    NotifiedList list;
    list.Folder().SetPath(fixture.Path("files"));
    ShowAndSettle(list);
    for (const char* refused : {"a.txt", "sl/ash"}) {
        list.LabelEdited(RowNamed(list, "b.bin"), refused);
        EXPECT_EQ((*messages).shown.size(), 1u) << refused;
        (*messages).shown.clear();
        ASSERT_EQ(ReadFileBytes(fixture.Path("files/b.bin")), std::string(1024, 'x'));
        list.WMChangeNotify();
        EXPECT_TRUE(list.RefreshTimer().isActive()) << refused;
        list.FlushPendingTimers(false);
    }
}

// A file written every 300 ms, more often than the delay: the list shows the stream while
// it runs.
TEST_F(ShellListTest, AStreamOfChangesShowsWhileItRuns) {
    Show("files/sub");
    list.setFocus();
    int written = 0;
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] {
        WriteFileBytes(fixture.Path("files/sub/n" + std::to_string(written++)), "new");
    });
    stream.start(300);
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.Count() > 0; }, 5000));
    EXPECT_TRUE(stream.isActive());
}

TEST_F(ShellListTest, TheListFollowsNewAndRemovedEntriesOnTheDisk) {
    Show("files/sub");
    list.setFocus();
    ASSERT_EQ(list.Count(), 0);
    WriteFileBytes(fixture.Path("files/sub/new.txt"), "new");
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.Count() == 1; }, 5000));
    std::filesystem::remove(fixture.Path("files/sub/new.txt"));
    EXPECT_TRUE(QTest::qWaitFor([&] { return list.Count() == 0; }, 5000));

    list.WriteOptions(list.Options() & ~scsloDynamicRefresh);
    WriteFileBytes(fixture.Path("files/sub/unseen.txt"), "new");
    QTest::qWait(700);
    EXPECT_EQ(list.Count(), 0) << "without DynamicRefresh nothing is watched";
}

std::vector<std::string> RowPaths(TSCCustomShellList& list) {
    std::vector<std::string> paths;
    for (int row = 0; row < list.Count(); ++row) {
        paths.push_back(list.GetItemData(row)->GetPath());
    }
    return paths;
}

TEST_F(ShellListTest, ComputerIsListedAgainWhenAVolumeArrives) {
    TempDir dir;
    const auto line = [](const std::string& mountPoint, const std::string& source) {
        return "30 1 0:99 / " + mountPoint + " rw shared:1 - ext4 " + source + " rw\n";
    };
    WriteFileBytes(dir / "mountinfo", line("/", "/dev/sda1"));
    ScopedEnvironment mountInfo("QUARN_MOUNTINFO", dir / "mountinfo");
    MountTable::Reload();
    LPITEMIDLIST computer = nullptr;
    ASSERT_EQ(SHGetSpecialFolderLocation(nullptr, CSIDL_DRIVES, &computer), S_OK);
    list.Folder().SetPidl(PidlPtr(computer).get());
    EXPECT_EQ(RowPaths(list), std::vector<std::string>{"/"});

    WriteFileBytes(dir / "mountinfo", line("/", "/dev/sda1") + line(dir / "usb", "/dev/sdz1"));
    TMessage arrival{WM_DEVICECHANGE, DBT_DEVICEARRIVAL};
    DeviceChangeHandler().NotifySubscribers(arrival);
    EXPECT_EQ(RowPaths(list), (std::vector<std::string>{"/", dir / "usb"}));
    MountTable::Reload();
}

} // namespace
} // namespace quarn::test
