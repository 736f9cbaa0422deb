// The file list's verbs: opening files in the desktop's applications, the context menu, the
// default keys and renaming in place.
#include "ControlTestSupport.h"
#include "FakeOpener.h"
#include "ListFixture.h"
#include "ScopedQtDesktop.h"
#include "ScriptedDesktop.h"
#include "shell/list/ShellListData.h"

#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QTreeView>
#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>

namespace quarn::test {

namespace {

using Names = std::vector<std::string>;

void SelectOnly(TSCCustomShellList& list, const Names& names) {
    list.SelectionModel()->clear();
    for (const auto& name : names) {
        list.SetSelected(RowNamed(list, name), true);
    }
    list.SelectionModel()->setCurrentIndex(list.Items().index(RowNamed(list, names.front()), 0),
                                           QItemSelectionModel::NoUpdate);
}

TEST_F(ShellListTest, EnterOpensEachSelectedFileWithItsRawBytesPercentEncoded) {
    ScopedQtDesktop desktop;
    FakeOpener opener;
    Show("files");
    SelectOnly(list, {ListFixture::RawName});
    list.setFocus();
    QTest::keyClick(list.View(), Qt::Key_Return);
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    const std::string folder = "file://" + fixture.Path("files");
    EXPECT_EQ(opener.Opened(), Names{folder + "/%FF%FE%20raw.bin"});

    SelectOnly(list, {"w*?.txt", "a.txt"});
    QTest::keyClick(list.View(), Qt::Key_Return);
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    Names opened = opener.Opened();
    ASSERT_EQ(opened.size(), 3u) << "once per selected file";
    std::sort(opened.begin() + 1, opened.end()); // the two openers run side by side
    EXPECT_EQ(opened,
              (Names{folder + "/%FF%FE%20raw.bin", folder + "/a.txt", folder + "/w%2A%3F.txt"}))
        << "once per selected file";
    EXPECT_TRUE(messages->shown.empty());
}

// The desktop's opener starts and finds no application for the file (xdg-open ends with 3).
TEST_F(ShellListTest, AFileNoApplicationOpensIsNamedWhenTheDesktopSaysSo) {
    ScopedQtDesktop desktop;
    FakeOpener noApplication(3);
    Show("files");
    auto* view = list.ReportView();
    const QPoint file =
        view->visualRect(list.Items().index(RowNamed(list, ListFixture::RawName), 0)).center();
    QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, file);
    QTest::mouseDClick(view->viewport(), Qt::LeftButton, {}, file);
    ASSERT_TRUE(QTest::qWaitFor([&] { return !messages->shown.empty(); }));
    list.setFocus();
    QTest::keyClick(list.View(), Qt::Key_Return);
    ASSERT_TRUE(QTest::qWaitFor([&] { return messages->shown.size() == 2; }));
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    const std::string failed = "Unable to open '" + fixture.Path("files") + "/" +
                               ListFixture::RawName + "': No application could be started for it.";
    EXPECT_EQ(messages->Texts(), (Names{failed, failed}));
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(noApplication.Opened().size(), 2u);
    messages->shown.clear();
}

TEST_F(ShellListTest, AnOpenHandlerKeepsFilesFromOpening) {
    ScopedScriptedDesktop desktop;
    Show("files");
    list.OnDblClickOpen = [](QWidget*, bool& handled) { handled = true; };
    SelectOnly(list, {"a.txt", "b.bin"});
    list.OpenSelected();
    SelectOnly(list, {"a.txt"});
    list.OpenSelected();
    EXPECT_EQ(desktop->opened, Names{});
}

// Types a name into the open rename editor and confirms it.
void TypeName(TSCCustomShellList& list, const QString& name) {
    QLineEdit* editor = CurrentEditor(*list.View());
    ASSERT_NE(editor, nullptr);
    editor->setText(name);
    QTest::keyClick(editor, Qt::Key_Return);
    QApplication::processEvents(); // the delegate commits through a queued call
}

TEST_F(ShellListTest, F2RenamesInPlaceAndNeverReplacesASibling) {
    Show("files");
    list.setFocus();
    SelectOnly(list, {"b.bin"});
    QTest::keyClick(list.View(), Qt::Key_F2);
    ASSERT_TRUE(list.IsEditing());
    EXPECT_EQ(CurrentEditor(*list.View())->text(), "b.bin");
    TypeName(list, "  renamed.bin ");
    EXPECT_FALSE(list.IsEditing());
    EXPECT_TRUE(PathExists(fixture.Path("files/renamed.bin"))) << "the text is trimmed";
    EXPECT_FALSE(PathExists(fixture.Path("files/b.bin")));
    EXPECT_EQ(list.GetItemData(list.ItemFocused())->GetDisplayName(), "renamed.bin");
    EXPECT_EQ(list.GetItemData(list.ItemFocused())->GetPath(), fixture.Path("files/renamed.bin"));

    for (const QString& refused : {QString("a.txt"), QString("sl/ash"), QString("..")}) {
        QTest::keyClick(list.View(), Qt::Key_F2);
        TypeName(list, refused);
        EXPECT_EQ(ReadFileBytes(fixture.Path("files/renamed.bin")), std::string(1024, 'x'));
        EXPECT_EQ(list.GetItemData(list.ItemFocused())->GetDisplayName(), "renamed.bin");
        EXPECT_EQ((*messages).shown.size(), 1u) << refused.toStdString();
        (*messages).shown.clear();
    }
    EXPECT_EQ(ReadFileBytes(fixture.Path("files/a.txt")), "") << "the sibling stays";
}

TEST_F(ShellListTest, ARenamedRowShowsTheIconAndTypeOfItsNewName) {
    Show("files");
    const auto icon = [&](int row) {
        list.Items().index(row, 0).data(Qt::DecorationRole);
        return list.Items().Item(row).ImageIndex;
    };
    ASSERT_NE(icon(RowNamed(list, "b.bin")), icon(RowNamed(list, "a.txt")));
    QSignalSpy changes(&list.Items(), &QAbstractItemModel::dataChanged);
    SelectOnly(list, {"b.bin"});
    QTest::keyClick(list.View(), Qt::Key_F2);
    TypeName(list, "b.txt");
    const int row = RowNamed(list, "b.txt");
    EXPECT_EQ(icon(row), icon(RowNamed(list, "a.txt")));
    EXPECT_EQ(CellText(list, row, 2), "plain text document");
    ASSERT_FALSE(changes.isEmpty());
    EXPECT_EQ(changes.last().at(1).toModelIndex().column(), list.ColumnCount() - 1)
        << "the whole row is drawn again";
}

TEST_F(ShellListTest, AReadOnlyListRenamesNothing) {
    Show("files");
    list.SetReadOnly(true);
    list.StartLabelEdit(RowNamed(list, "b.bin"));
    EXPECT_FALSE(list.IsEditing());
}

TEST_F(ShellListTest, DelMovesTheSelectionToTheTrashAndRefreshes) {
    Show("files");
    list.setFocus();
    SelectOnly(list, {"b.bin", "c.TXT"});
    QTest::keyClick(list.View(), Qt::Key_Delete);
    EXPECT_FALSE(PathExists(fixture.Path("files/b.bin")));
    EXPECT_FALSE(PathExists(fixture.Path("files/c.TXT")));
    EXPECT_EQ(RowNamed(list, "b.bin"), -1);
    EXPECT_EQ(RowNamed(list, "c.TXT"), -1);
    EXPECT_NE(RowNamed(list, "a.txt"), -1);
}

TEST_F(ShellListTest, CopyAndPasteKeysWorkThroughTheClipboard) {
    ScopedScriptedDesktop desktop;
    Show("files");
    list.setFocus();
    SelectOnly(list, {"a.txt"});
    QTest::keyClick(list.View(), Qt::Key_C, Qt::ControlModifier);
    EXPECT_NE(desktop->clipboard.count("text/uri-list"), 0u);
    list.Folder().SetPath(fixture.Path("files/sub"));
    QTest::keyClick(list.View(), Qt::Key_V, Qt::ControlModifier);
    EXPECT_TRUE(PathExists(fixture.Path("files/sub/a.txt")));
    EXPECT_EQ(RowNames(list), Names{"a.txt"}) << "the paste refreshes the list";
}

TEST_F(ShellListTest, TheContextMenuOfTheSelectionRunsItsCommands) {
    Show("files");
    SelectOnly(list, {"b.bin"});
    std::vector<std::string> texts;
    std::vector<std::string> hints;
    list.OnPopupHint = [&](QObject*, const std::string& hint) { hints.push_back(hint); };
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        ASSERT_NE(menu, nullptr);
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) {
                texts.push_back(action->text().toStdString());
            }
        }
        QTest::keyClick(menu, Qt::Key_M); // Rena&me
    });
    auto* view = list.ReportView();
    const QPoint point = view->visualRect(list.Items().index(RowNamed(list, "b.bin"), 0)).center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, point, view->viewport()->mapToGlobal(point));
    QApplication::sendEvent(view->viewport(), &event);
    EXPECT_EQ(texts,
              (Names{"&Open", "Se&nd To", "Cu&t", "&Copy", "&Delete", "Rena&me", "P&roperties"}));
    EXPECT_TRUE(list.IsEditing()) << "rename starts the label edit";
}

// Another program removes a file while the menu is open, and the list refreshes in the
// menu's loop: the rename is for the item the menu was opened on, or for nothing.
TEST_F(ShellListTest, TheMenusRenameEditsTheItemItWasOpenedForWhereverItMoved) {
    Show("files");
    list.setFocus();
    for (const char* removed : {"a.txt", "c.TXT"}) {
        SelectOnly(list, {"c.TXT"});
        QTimer::singleShot(0, [&] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            ASSERT_NE(menu, nullptr);
            std::filesystem::remove(fixture.Path(std::string("files/") + removed));
            list.Refresh();
            QTest::keyClick(menu, Qt::Key_M); // Rena&me
        });
        QTest::keyClick(list.View(), Qt::Key_Menu);
        auto* editor = list.View()->viewport()->findChild<QLineEdit*>();
        if (std::string(removed) == "c.TXT") {
            EXPECT_FALSE(list.IsEditing()) << "the item is gone";
            EXPECT_EQ(editor, nullptr);
            continue;
        }
        ASSERT_NE(editor, nullptr);
        EXPECT_EQ(editor->text().toStdString(), "c.TXT");
        QTest::keyClick(editor, Qt::Key_Escape);
        EXPECT_TRUE(QTest::qWaitFor([&] {
            return list.View()->viewport()->findChild<QLineEdit*>() == nullptr;
        })) << "Escape closes the editor";
    }
}

TEST_F(ShellListTest, NoContextMenuWithoutSelectionOrWhenSwitchedOff) {
    Show("files");
    list.WriteOptions(list.Options() & ~scsloContextMenus);
    SelectOnly(list, {"b.bin"});
    auto* view = list.ReportView();
    QContextMenuEvent event(QContextMenuEvent::Mouse, {5, 5},
                            view->viewport()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(view->viewport(), &event); // would block in the menu's loop
    list.WriteOptions(list.Options() | scsloContextMenus);
    list.SelectionModel()->clear();
    QApplication::sendEvent(view->viewport(), &event);
    SUCCEED();
}

} // namespace
} // namespace quarn::test
