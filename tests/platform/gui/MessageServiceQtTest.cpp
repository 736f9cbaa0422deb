// The Qt message boxes and save dialog, driven as a user would from a timer inside their
// modal loop.
#include "CaseNames.h"
#include "TestFiles.h"
#include "TextFit.h"
#include "platform/gui/Application.h"
#include "platform/gui/QtMessageService.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>
#include <stdexcept>

namespace quarn {
namespace {

using test::TempDir;

// Calls act with the first modal widget of type T that shows; a box that act leaves open
// is rejected after a while so that a failing test does not hang.
template <typename T> void WhenModalShows(std::function<void(T&)> act) {
    auto* poll = new QTimer;
    poll->setInterval(10);
    QObject::connect(poll, &QTimer::timeout, [poll, act] {
        auto* widget = qobject_cast<T*>(QApplication::activeModalWidget());
        if (widget == nullptr || !widget->isVisible()) {
            return;
        }
        poll->stop();
        poll->deleteLater();
        QPointer<T> guard(widget);
        act(*widget);
        QTimer::singleShot(3000, [guard] {
            if (guard != nullptr && guard->isVisible()) {
                ADD_FAILURE() << "the modal widget is still open";
                guard->reject();
            }
        });
    });
    poll->start();
}

void ClickButton(QMessageBox& box, QMessageBox::StandardButton which) {
    QAbstractButton* button = box.button(which);
    ASSERT_NE(button, nullptr);
    EXPECT_TRUE(button->isEnabled());
    QTest::mouseClick(button, Qt::LeftButton);
}

struct KindCase {
    const char* name;
    MessageKind kind;
    QMessageBox::Icon icon;
};

void PrintTo(const KindCase& c, std::ostream* out) {
    *out << c.name;
}

class QtMessageBoxKinds : public testing::TestWithParam<KindCase> {};

TEST_P(QtMessageBoxKinds, ShowTheirIconTitleAndLineBreaks) {
    SetApplicationTitle("Quarn!");
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    WhenModalShows<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.standardButtons();
        ClickButton(box, QMessageBox::Ok);
    });
    QtMessageService service;
    const MessageAnswer answer =
        service.Show(GetParam().kind, "Unable to launch web browser:\r\n\r\nPlease visit: x",
                     MessageButtons::Ok);
    EXPECT_EQ(answer, MessageAnswer::Ok);
    EXPECT_EQ(title, "Quarn!");
    EXPECT_EQ(text, "Unable to launch web browser:\n\nPlease visit: x");
    EXPECT_EQ(icon, GetParam().icon);
    EXPECT_EQ(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

INSTANTIATE_TEST_SUITE_P(
    Service, QtMessageBoxKinds,
    testing::Values(KindCase{"Warning", MessageKind::Warning, QMessageBox::Warning},
                    KindCase{"Error", MessageKind::Error, QMessageBox::Critical},
                    KindCase{"Information", MessageKind::Information, QMessageBox::Information},
                    KindCase{"Confirmation", MessageKind::Confirmation, QMessageBox::Question}),
    quarn::test::CaseName());

TEST(QtMessageBox, TextThatLooksLikeMarkupIsShownAsItStands) {
    const std::string text = "Quarn! was unable to encrypt '/home/me/<b>secret</b> & co.txt': "
                             "Permission denied";
    Qt::TextFormat format = Qt::AutoText;
    QString shown;
    WhenModalShows<QMessageBox>([&](QMessageBox& box) {
        format = box.textFormat();
        shown = box.text();
        ClickButton(box, QMessageBox::Ok);
    });
    QtMessageService().Show(MessageKind::Error, text, MessageButtons::Ok);
    EXPECT_EQ(format, Qt::PlainText);
    EXPECT_EQ(shown.toStdString(), text);
}

// The longest messages of the programs, whole at the platform's font and at one and a half
// times its size.
const char* const LongestMessages[] = {
    "The password you have chosen is less than 8 characters in length - a potential security "
    "risk. For security purposes, passwords must be 8-255 characters in length. (See the "
    "Strong Passwords topic in Quarn! Help for more information.)",
    "Wiping a file will permanently overwrite the file's original contents! This procedure "
    "cannot be reversed once started, and the file being wiped is generally not recoverable "
    "by any means.\r\n\r\nWipe the selected files?",
    "Incorrect Usage\r\n\r\nUsage: QuarnCLU [/e][/d][/w] filename\r\n/e -\tEncrypt "
    "file\r\n/d -\tDecrypt file\r\n/w -\tWipe file",
    "The Start-up Folder specified in Options '/home/marianne/Documents/Projects/2026/Quarterly "
    "reports' no longer exists. \r\n\r\nPlease specify a new Start-up Folder, or select a "
    "different Start-up Folder option.",
};

class QtMessageBoxTexts : public testing::TestWithParam<double> {};

TEST_P(QtMessageBoxTexts, ShowTheLongestMessagesWhole) {
    const test::ScopedFontScale font(GetParam());
    for (const char* message : LongestMessages) {
        std::vector<std::string> cuts{"not shown"};
        WhenModalShows<QMessageBox>([&](QMessageBox& box) {
            cuts = test::CutTexts(box);
            ClickButton(box, QMessageBox::Ok);
        });
        QtMessageService().Show(MessageKind::Warning, message, MessageButtons::Ok);
        EXPECT_EQ(cuts, std::vector<std::string>()) << message;
    }
}

INSTANTIATE_TEST_SUITE_P(Fonts, QtMessageBoxTexts, testing::Values(1.0, 1.5), test::FontScaleName);

TEST(QtMessageBox, TheApplicationTitleStaysOffOtherWindowsCaptions) {
    // The platform appends Qt's application display name, when one is set, to the caption
    // of every window ("Options — Quarn!").
    SetApplicationTitle("Quarn!");
    EXPECT_EQ(ApplicationTitle(), "Quarn!");
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
}

TEST(QtMessageBox, YesNoBoxesAnswerWithTheButtonClicked) {
    QtMessageService service;
    for (const auto& [clicked, expected] : {std::pair{QMessageBox::Yes, MessageAnswer::Yes},
                                            std::pair{QMessageBox::No, MessageAnswer::No}}) {
        QMessageBox::StandardButtons buttons;
        WhenModalShows<QMessageBox>([&, clicked = clicked](QMessageBox& box) {
            buttons = box.standardButtons();
            ClickButton(box, clicked);
        });
        EXPECT_EQ(service.Show(MessageKind::Confirmation, "Overwrite?", MessageButtons::YesNo),
                  expected);
        EXPECT_EQ(buttons, QMessageBox::Yes | QMessageBox::No);
    }
}

// OK goes on, Cancel or Escape stops: the keyboard alone answers either way.
TEST(QtMessageBox, OkCancelBoxesAnswerOkOrCancelAlsoFromTheKeyboard) {
    QtMessageService service;
    const std::pair<std::function<void(QMessageBox&)>, MessageAnswer> cases[] = {
        {[](QMessageBox& box) { ClickButton(box, QMessageBox::Ok); }, MessageAnswer::Ok},
        {[](QMessageBox& box) { ClickButton(box, QMessageBox::Cancel); }, MessageAnswer::Cancel},
        {[](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Escape); }, MessageAnswer::Cancel},
        {[](QMessageBox& box) { QTest::keyClick(&box, Qt::Key_Return); }, MessageAnswer::Ok},
    };
    for (const auto& [act, expected] : cases) {
        QMessageBox::StandardButtons buttons;
        WhenModalShows<QMessageBox>([&, act = act](QMessageBox& box) {
            buttons = box.standardButtons();
            act(box);
        });
        EXPECT_EQ(service.Show(MessageKind::Error, "Unable to copy", MessageButtons::OkCancel),
                  expected);
        EXPECT_EQ(buttons, QMessageBox::Ok | QMessageBox::Cancel);
    }
}

TEST(QtMessageBox, StaysUsableWhileTheOtherWindowsAreDisabled) {
    QWidget mainWindow;
    mainWindow.resize(300, 200);
    mainWindow.show();
    mainWindow.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&mainWindow));
    // As during a busy operation: every other window of the program is disabled.
    mainWindow.setEnabled(false);
    ASSERT_EQ(QApplication::activeWindow(), &mainWindow);

    bool enabled = false;
    WhenModalShows<QMessageBox>([&](QMessageBox& box) {
        enabled = box.isEnabled();
        ClickButton(box, QMessageBox::Yes);
    });
    QtMessageService service;
    EXPECT_EQ(service.Show(MessageKind::Confirmation, "Cancel?", MessageButtons::YesNo),
              MessageAnswer::Yes);
    EXPECT_TRUE(enabled);
}

struct ReportCase {
    std::exception_ptr error;
    QString text;
};

TEST(QtMessageBox, TheDefaultErrorReportShowsAnErrorBox) {
    SetApplicationTitle("Quarn!");
    for (const ReportCase& c :
         {ReportCase{std::make_exception_ptr(std::runtime_error("Disk full\r\nNothing saved")),
                     "Disk full\nNothing saved"},
          ReportCase{std::make_exception_ptr(42), "Unknown error"}}) {
        QString title;
        QString text;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        WhenModalShows<QMessageBox>([&](QMessageBox& box) {
            title = box.windowTitle();
            text = box.text();
            icon = box.icon();
            ClickButton(box, QMessageBox::Ok);
        });
        ReportException(c.error);
        EXPECT_EQ(title, "Quarn!");
        EXPECT_EQ(text, c.text);
        EXPECT_EQ(icon, QMessageBox::Critical);
    }
}

TEST(QtMessageBox, ProcessMessagesRunsWhatIsPending) {
    bool ran = false;
    QTimer::singleShot(0, [&] { ran = true; });
    for (int i = 0; i < 100 && !ran; ++i) {
        ProcessMessages();
    }
    EXPECT_TRUE(ran);
}

// The names the dialog's file view lists, once its model has read the folder.
QStringList ListedNames(QFileDialog& dialog) {
    auto* view = dialog.findChild<QAbstractItemView*>("listView");
    if (view == nullptr) {
        return {};
    }
    QStringList names;
    if (!QTest::qWaitFor([&] { return view->model()->rowCount(view->rootIndex()) >= 3; })) {
        return {};
    }
    for (int row = 0; row < view->model()->rowCount(view->rootIndex()); ++row) {
        const QModelIndex index = view->model()->index(row, 0, view->rootIndex());
        if ((view->model()->flags(index) & Qt::ItemIsEnabled) != 0) {
            names << index.data().toString();
        }
    }
    names.sort();
    return names;
}

struct SaveDialogSeen {
    bool ownDialog = false; // Qt's widget dialog, not the desktop's native one
    QString title;
    QString directory;
    QString proposedName;
    QString filterShown;
    QStringList names;
};

// Looks at the dialog, types name into it and accepts it.
void TypeAndAccept(QFileDialog& dialog, const QString& name, SaveDialogSeen& seen) {
    seen.ownDialog = dialog.testOption(QFileDialog::DontUseNativeDialog);
    seen.title = dialog.windowTitle();
    seen.directory = dialog.directory().absolutePath();
    auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(edit, nullptr);
    seen.proposedName = edit->text();
    if (auto* types = dialog.findChild<QComboBox*>("fileTypeCombo")) {
        seen.filterShown = types->currentText();
    }
    seen.names = ListedNames(dialog);
    edit->setText(name);
    QTest::keyClick(edit, Qt::Key_Return);
}

class QtSaveDialog : public testing::Test {
protected:
    QtSaveDialog() {
        test::WriteFileBytes(folder / "README", "no dot");
        test::WriteFileBytes(folder / "notes.txt", "text");
        std::filesystem::create_directory(folder.Path() / "sub");
    }

    std::optional<std::string> Ask(const QString& typed, SaveDialogSeen& seen) {
        WhenModalShows<QFileDialog>(
            [&, typed](QFileDialog& dialog) { TypeAndAccept(dialog, typed, seen); });
        SaveDialogRequest request;
        request.title = "Save As...";
        request.initialFolder = folder.Folder();
        request.fileName = "notes.txt.zot!";
        request.defaultExtension = ".zot!";
        return QtMessageService().AskSaveFile(request);
    }

    TempDir folder;
};

TEST_F(QtSaveDialog, OpensInTheFolderAndListsEveryFile) {
    SaveDialogSeen seen;
    const auto chosen = Ask("secret", seen);
    EXPECT_TRUE(seen.ownDialog);
    EXPECT_EQ(seen.title, "Save As...");
    EXPECT_EQ(seen.directory, QString::fromStdString(folder.Path().string()));
    EXPECT_EQ(seen.proposedName, "notes.txt.zot!");
    EXPECT_EQ(seen.filterShown, "All Files (*.*)");
    EXPECT_EQ(seen.names, (QStringList{"README", "notes.txt", "sub"}));
    EXPECT_EQ(chosen, folder / "secret.zot!");
}

TEST_F(QtSaveDialog, ANameWithAnExtensionKeepsIt) {
    SaveDialogSeen seen;
    EXPECT_EQ(Ask("plain.bin", seen), folder / "plain.bin");
}

TEST_F(QtSaveDialog, ANameInAMissingFolderIsRefusedAndTheDialogStaysOpen) {
    QString warning;
    Qt::TextFormat format = Qt::AutoText;
    bool stayedOpen = false;
    WhenModalShows<QFileDialog>([&](QFileDialog& dialog) {
        auto* edit = dialog.findChild<QLineEdit*>("fileNameEdit");
        ASSERT_NE(edit, nullptr);
        WhenModalShows<QMessageBox>([&](QMessageBox& box) {
            warning = box.text();
            format = box.textFormat();
            ClickButton(box, QMessageBox::Ok);
        });
        edit->setText("<b>missing/secret");
        QTest::keyClick(edit, Qt::Key_Return);
        stayedOpen = dialog.isVisible();
        edit->setText("secret");
        QTest::keyClick(edit, Qt::Key_Return);
    });
    SaveDialogRequest request;
    request.initialFolder = folder.Folder();
    request.defaultExtension = ".zot!";
    EXPECT_EQ(QtMessageService().AskSaveFile(request), folder / "secret.zot!");
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(warning.toStdString(),
              "The folder \"" + (folder / "<b>missing") + "\" does not exist.");
    EXPECT_EQ(format, Qt::PlainText);
}

TEST_F(QtSaveDialog, CancelGivesNothing) {
    WhenModalShows<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    SaveDialogRequest request;
    request.initialFolder = folder.Folder();
    EXPECT_EQ(QtMessageService().AskSaveFile(request), std::nullopt);
}

} // namespace
} // namespace quarn
