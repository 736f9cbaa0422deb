// Opening items and the list's keys, mouse and wheel.
#include "ControlTestSupport.h"
#include "ListFixture.h"
#include "ShellTestSupport.h"
#include "shell/list/ShellListData.h"

#include <QListView>
#include <QScrollBar>
#include <QTest>
#include <QTreeView>
#include <QWheelEvent>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

void Focus(TSCCustomShellList& list, int row) {
    list.SelectionModel()->setCurrentIndex(list.Items().index(row, 0),
                                           QItemSelectionModel::ClearAndSelect |
                                               QItemSelectionModel::Rows);
}

TEST_F(ShellListTest, EnterOnAFolderOrALinkToOneShowsIt) {
    WriteFileBytes(fixture.Path("files/sub/inner.txt"), "inner");
    Show("files");
    Focus(list, RowNamed(list, "sub"));
    QTest::keyClick(list.View(), Qt::Key_Return);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files/sub"));
    EXPECT_EQ(RowNames(list), std::vector<std::string>{"inner.txt"});

    QTest::keyClick(list.View(), Qt::Key_Backspace);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files"));
    Focus(list, RowNamed(list, "link to sub"));
    QTest::keyClick(list.View(), Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(RowNames(list), std::vector<std::string>{"inner.txt"});
}

TEST_F(ShellListTest, BackspaceAtTheTopDoesNothing) {
    list.Folder().Reset();
    ASSERT_GT(list.Count(), 0);
    const auto rows = RowNames(list);
    int changes = 0;
    list.OnFolderChanged = [&](QWidget*) { ++changes; };
    QTest::keyClick(list.View(), Qt::Key_Backspace);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(list.Folder().GetPidl(), nullptr);
    EXPECT_EQ(RowNames(list), rows);
}

TEST_F(ShellListTest, WithoutDefaultKeysBackspaceAndEnterAreTheViewsOwn) {
    Show("files/sub");
    list.WriteOptions(list.Options() & ~scsloDefaultKeyHandling);
    QTest::keyClick(list.View(), Qt::Key_Backspace);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files/sub"));
}

TEST_F(ShellListTest, ADoubleClickOpensAndAHandlerCanTakeItOver) {
    Show("files");
    int asked = 0;
    list.OnDblClickOpen = [&](QWidget*, bool& handled) {
        ++asked;
        handled = true;
    };
    auto* view = list.ReportView();
    const auto doubleClick = [&](const QPoint& point, Qt::MouseButton button = Qt::LeftButton) {
        QTest::mouseClick(view->viewport(), button, {}, point);
        QTest::mouseDClick(view->viewport(), button, {}, point);
    };
    const QPoint file = view->visualRect(list.Items().index(RowNamed(list, "b.bin"), 0)).center();
    doubleClick(file, Qt::RightButton);
    doubleClick(file, Qt::MiddleButton);
    EXPECT_EQ(asked, 0) << "only the left button opens";
    doubleClick(file);
    EXPECT_EQ(asked, 1) << "a file asks the handler first";
    const QPoint folder = view->visualRect(list.Items().index(RowNamed(list, "sub"), 0)).center();
    doubleClick(folder);
    EXPECT_EQ(asked, 1) << "a folder navigates without asking";
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files/sub"));
}

TEST_F(ShellListTest, OpeningAFolderWithDontChangeFolderDoesNothing) {
    Show("files");
    list.WriteOptions(list.Options() | scsloDontChangeFolder);
    list.OnDblClickOpen = [&](QWidget*, bool&) { ADD_FAILURE() << "no default command"; };
    list.OpenItem(RowNamed(list, "sub"));
    list.GoUp(1);
    EXPECT_EQ(list.Folder().GetPath(), fixture.Path("files"));
}

TEST_F(ShellListTest, TheWheelScrollsTheListStyleSideways) {
    for (int i = 0; i < 300; ++i) {
        WriteFileBytes(fixture.Path("files/sub/file " + std::to_string(i)), "");
    }
    Show("files/sub");
    list.SetViewStyle(TViewStyle::vsList);
    QApplication::processEvents();
    QScrollBar* bar = list.View()->horizontalScrollBar();
    ASSERT_GT(bar->maximum(), 0);
    const QPoint centre = list.View()->viewport()->rect().center();
    QWheelEvent down(centre, list.View()->viewport()->mapToGlobal(centre), {}, {0, -120},
                     Qt::NoButton, {}, Qt::NoScrollPhase, false);
    QApplication::sendEvent(list.View()->viewport(), &down);
    EXPECT_EQ(bar->value(), bar->singleStep());
    EXPECT_EQ(list.View()->verticalScrollBar()->value(), 0);
}

TEST_F(ShellListTest, InvertSelectionFlipsEveryRowInOneChange) {
    Show("files");
    ASSERT_GT(list.Count(), 6);
    for (const int row : {1, 2, 5}) {
        list.SetSelected(row, true);
    }
    int changes = 0;
    QObject::connect(list.SelectionModel(), &QItemSelectionModel::selectionChanged,
                     [&] { ++changes; });
    list.InvertSelection();
    EXPECT_EQ(changes, 1);
    std::vector<int> others = {0, 3, 4};
    for (int row = 6; row < list.Count(); ++row) {
        others.push_back(row);
    }
    EXPECT_EQ(list.SelectedItems(), others);
    list.InvertSelection();
    EXPECT_EQ(list.SelectedItems(), (std::vector<int>{1, 2, 5}));
}

TEST_F(ShellListTest, TheSelectionAllowsTheDropEffectsAllItsItemsAllow) {
    Show("files");
    EXPECT_EQ(list.GetAllowedDropEffects(), 0u);
    list.SetSelected(RowNamed(list, "a.txt"), true);
    list.SetSelected(RowNamed(list, "sub"), true);
    EXPECT_EQ(list.GetAllowedDropEffects(), SFGAO_CANCOPY | SFGAO_CANMOVE | SFGAO_CANLINK);
    void* object = nullptr;
    EXPECT_EQ(list.GetItemUIObject(-1, IID_IContextMenu, &object), E_INVALIDARG);
}

} // namespace
} // namespace quarn::test
