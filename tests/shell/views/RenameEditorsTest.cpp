// The rename editors of the folder tree and the file list: names are bytes, an untouched edit
// renames nothing, blanks typed at the ends are dropped, and the focus comes back to the
// control when the edit ends.
#include "CaseNames.h"
#include "ControlTestSupport.h"
#include "ListFixture.h"
#include "ScriptedMessages.h"
#include "ShellTestSupport.h"
#include "TestFiles.h"
#include "platform/gui/QtMessageService.h"
#include "shell/list/ShellList.h"
#include "shell/list/ShellListData.h"
#include "shell/tree/ShellTree.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

const std::string RawFolder = "caf\xe9";
const std::string BlankFolder = "  lead ";
const std::string RawFile = ControlFixture::RawName;
const std::string BlankFile = "  lead.txt";

enum class Control { Tree, List };
enum class Ending { Enter, FocusChange };

// A form with a field to click elsewhere, the tree of the fixture's folders and the list of
// its files, in this order of the focus chain.
class RenameEditors : public ::testing::Test {
protected:
    RenameEditors() {
        for (const std::string& name : {RawFolder, BlankFolder}) {
            fs::create_directory(fixture.Path(name));
        }
        WriteFileBytes(fixture.Path("files/" + BlankFile), "blank");
        auto* layout = new QHBoxLayout(&form);
        layout->addWidget(&elsewhere);
        layout->addWidget(&tree);
        layout->addWidget(&list);
        tree.BaseFolder().SetPath(fixture.Path());
        list.Folder().SetPath(fixture.Path("files"));
        form.resize(900, 400);
        ShowAndSettle(form);
        form.activateWindow();
        EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
    }

    // F2 on the entry of that name, in the folder tree or in the file list; the open editor.
    QLineEdit* StartEdit(Control control, const std::string& name) {
        QAbstractItemView* view = nullptr;
        if (control == Control::Tree) {
            TSCShellTreeNode* node = ChildNamed(tree.Items(), tree.RootNode(), name);
            EXPECT_NE(node, nullptr) << name;
            tree.Select(node);
            view = &tree;
        } else {
            const int row = RowNamed(list, name);
            EXPECT_GE(row, 0) << name;
            list.SelectionModel()->setCurrentIndex(list.Items().index(row, 0),
                                                   QItemSelectionModel::ClearAndSelect |
                                                       QItemSelectionModel::Rows);
            view = list.View();
        }
        view->setFocus();
        QTest::keyClick(view, Qt::Key_F2);
        return CurrentEditor(*view);
    }
    void EndEdit(QLineEdit* editor, Ending ending) {
        if (ending == Ending::Enter) {
            QTest::keyClick(editor, Qt::Key_Return);
        } else {
            elsewhere.setFocus(Qt::MouseFocusReason);
        }
        QApplication::processEvents(); // the delegate commits through a queued call
    }
    QWidget* View(Control control) {
        return control == Control::Tree ? static_cast<QWidget*>(&tree) : list.View();
    }
    std::string PathOf(Control control, const std::string& name) const {
        return fixture.Path(control == Control::Tree ? name : "files/" + name);
    }

    ScopedScriptedMessages messages;
    ControlFixture fixture;
    QWidget form;
    TSCShellTree tree;
    TSCShellList list;
    QLineEdit elsewhere;
};

struct UntouchedCase {
    const char* label;
    Control control;
    std::string name;
    Ending ending;
};

void PrintTo(const UntouchedCase& c, std::ostream* out) {
    *out << c.label;
}

class UntouchedEdit : public RenameEditors, public ::testing::WithParamInterface<UntouchedCase> {};

TEST_P(UntouchedEdit, KeepsTheNameByteForByte) {
    const auto& [label, control, name, ending] = GetParam();
    QLineEdit* editor = StartEdit(control, name);
    ASSERT_NE(editor, nullptr);
    EndEdit(editor, ending);
    EXPECT_EQ(QApplication::focusWidget(), ending == Ending::Enter ? View(control) : &elsewhere)
        << "the focus stays where the user put it";
    EXPECT_TRUE(PathExists(PathOf(control, name))) << "the entry keeps its name";
    EXPECT_EQ((*messages).Texts(), std::vector<std::string>{});
    if (control == Control::Tree) {
        EXPECT_NE(ChildNamed(tree.Items(), tree.RootNode(), name), nullptr);
        EXPECT_FALSE(tree.SkipNextChangeNotify()) << "nothing renamed, no change to expect";
    } else {
        EXPECT_GE(RowNamed(list, name), 0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Names, UntouchedEdit,
    ::testing::Values(
        UntouchedCase{"TreeRawEnter", Control::Tree, RawFolder, Ending::Enter},
        UntouchedCase{"TreeRawClickElsewhere", Control::Tree, RawFolder, Ending::FocusChange},
        UntouchedCase{"TreeBlanksEnter", Control::Tree, BlankFolder, Ending::Enter},
        UntouchedCase{"TreeBlanksClickElsewhere", Control::Tree, BlankFolder, Ending::FocusChange},
        UntouchedCase{"ListRawEnter", Control::List, RawFile, Ending::Enter},
        UntouchedCase{"ListRawClickElsewhere", Control::List, RawFile, Ending::FocusChange},
        UntouchedCase{"ListBlanksEnter", Control::List, BlankFile, Ending::Enter},
        UntouchedCase{"ListBlanksClickElsewhere", Control::List, BlankFile, Ending::FocusChange}),
    CaseName());

struct TypedCase {
    const char* label;
    Control control;
    std::string name;
    std::function<void(QLineEdit&)> type;
    std::string renamed;
};

void PrintTo(const TypedCase& c, std::ostream* out) {
    *out << c.label;
}

class TypedEdit : public RenameEditors, public ::testing::WithParamInterface<TypedCase> {};

TEST_P(TypedEdit, RenamesToTheTypedTextWithTheUntouchedBytesKept) {
    const auto& [label, control, name, type, renamed] = GetParam();
    QLineEdit* editor = StartEdit(control, name);
    ASSERT_NE(editor, nullptr);
    type(*editor);
    EndEdit(editor, Ending::Enter);
    EXPECT_FALSE(PathExists(PathOf(control, name)));
    EXPECT_TRUE(PathExists(PathOf(control, renamed)));
    EXPECT_EQ((*messages).Texts(), std::vector<std::string>{});
}

// The user's keys in the editor: the text selected as the edit starts is replaced.
std::function<void(QLineEdit&)> Keys(const char* typed) {
    return [typed](QLineEdit& editor) { QTest::keyClicks(&editor, typed); };
}
std::function<void(QLineEdit&)> KeysAtEnd(const char* typed, int erased = 0) {
    return [typed, erased](QLineEdit& editor) {
        QTest::keyClick(&editor, Qt::Key_End);
        for (int i = 0; i < erased; ++i) {
            QTest::keyClick(&editor, Qt::Key_Backspace);
        }
        QTest::keyClicks(&editor, typed);
    };
}

INSTANTIATE_TEST_SUITE_P(
    Names, TypedEdit,
    ::testing::Values(
        TypedCase{"TreeTypedBlanksDropped", Control::Tree, "other", Keys("  uno  "), "uno"},
        TypedCase{"TreeRawBytesKept", Control::Tree, RawFolder, KeysAtEnd("s"), RawFolder + "s"},
        TypedCase{"TreeOwnBlanksKept", Control::Tree, BlankFolder, KeysAtEnd("s", 1), "  leads"},
        TypedCase{"ListTypedBlanksDropped", Control::List, "a::b.txt", Keys(" ab.txt "), "ab.txt"},
        TypedCase{"ListRawBytesKept", Control::List, RawFile, KeysAtEnd("n", 3), "\xff\xfe raw.n"},
        TypedCase{"ListOwnBlanksKept", Control::List, BlankFile, KeysAtEnd("s "), BlankFile + "s"}),
    CaseName());

// Answers the first message box that shows with Enter, as a user would.
void PressEnterOnTheMessageBox() {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box != nullptr && box->isVisible()) {
            poll->deleteLater();
            poll->stop();
            QTest::keyClick(box, Qt::Key_Return);
        }
    });
    poll->start();
}

TEST_F(RenameEditors, AfterARefusedRenameTheFocusIsBackOnTheControl) {
    auto previous = InstallMessageService(std::make_unique<QtMessageService>());
    for (const Control control : {Control::List, Control::Tree}) {
        QLineEdit* editor = StartEdit(control, control == Control::Tree ? "one" : "a::b.txt");
        ASSERT_NE(editor, nullptr);
        editor->setText(control == Control::Tree ? "other" : "ARCHIVE.ZIP");
        PressEnterOnTheMessageBox();
        EndEdit(editor, Ending::Enter);
        form.activateWindow(); // as the window manager does once the box is gone
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        EXPECT_EQ(QApplication::focusWidget(), View(control))
            << (control == Control::Tree ? "tree" : "list");
    }
    InstallMessageService(std::move(previous));
    EXPECT_TRUE(PathExists(fixture.Path("one")));
    EXPECT_TRUE(PathExists(fixture.Path("files/a::b.txt")));
}

} // namespace
} // namespace quarn::test
