// The busy state and the progress dialog, entered and left as the commands do.
#include "MainWindowFixture.h"
#include "app/StatusBar.h"
#include "app/common/KVBEllipsisLabel.h"
#include "platform/gui/DesignScale.h"
#include "platform/gui/QtMessageService.h"

#include <QAccessible>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>

namespace quarn::test {
namespace {

class BusyState : public MainWindowTest {
protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        Start();
    }

    static QPushButton* Cancel() { return FormChild<QPushButton>(fProgress, "bCancel"); }
    QString Light(const char* name) { return Child<QLabel>(name)->accessibleDescription(); }
    bool Idle() {
        return !fProgress->isVisible() && !Child<QProgressBar>("ProgressBar")->isVisible() &&
               Main().isEnabled() && Light("iReady") == "green" && Light("iBusy") == "off";
    }
    bool Busy() {
        return fProgress->isVisible() && Child<QProgressBar>("ProgressBar")->isVisible() &&
               !Main().isEnabled() && Light("iReady") == "off" && Light("iBusy") == "red";
    }
};

TEST_F(BusyState, LightsDialogDisabledWindowsAndTheOverallBar) {
    ASSERT_TRUE(Idle());
    Main().BeginBusy();
    EXPECT_TRUE(Busy());
    EXPECT_TRUE(fProgress->isEnabled());
    EXPECT_EQ(fProgress->windowTitle(), QStringLiteral("Progress"));
    EXPECT_EQ(fProgress->size(), DesignScale::Of(*fProgress)(TfProgress::ClientSize));
    // Inside status panel 1: 2 pixels below its top, 2 above its bottom, 4 short of its right.
    const QRect panel = Child<TStatusBar>("StatusBar")->PanelRect(1);
    const QRect bar = Child<QProgressBar>("ProgressBar")->geometry();
    EXPECT_EQ(bar.left(), panel.left());
    EXPECT_EQ(bar.top(), panel.top() + 2);
    EXPECT_EQ(bar.bottom(), panel.bottom() - 2);
    EXPECT_EQ(bar.right(), panel.right() - 4);
    Main().EndBusy();
    EXPECT_TRUE(Idle());
}

// The window is disabled meanwhile; the light and the bar must not be greyed out with it.
TEST_F(BusyState, TheRedLightAndTheBarKeepTheirColoursWhileTheWindowIsDisabled) {
    const auto centre = [](QWidget* widget) {
        const QImage image = widget->grab().toImage();
        return image.pixelColor(image.width() / 2, image.height() / 2);
    };
    const QColor idle = centre(Child<QLabel>("iBusy"));
    Main().BeginBusy();
    ASSERT_FALSE(Main().isEnabled());
    const QColor busy = centre(Child<QLabel>("iBusy"));
    EXPECT_GT(busy.red(), busy.green() + 80) << busy.name().toStdString();
    EXPECT_GT(busy.red(), idle.red() + 40) << idle.name().toStdString();
    auto* bar = Child<QProgressBar>("ProgressBar");
    EXPECT_EQ(bar->palette().color(QPalette::Disabled, QPalette::Highlight),
              bar->palette().color(QPalette::Active, QPalette::Highlight));
    Main().EndBusy();
}

TEST_F(BusyState, EachShowingStartsEmpty) {
    Main().BeginBusy();
    Main().SetOperationType("Encrypting:");
    Main().SetInFile("a.txt");
    Main().SetOutFile("0.zot!");
    Main().SetFileProgress(60);
    Main().EndBusy();
    Main().BeginBusy();
    EXPECT_TRUE(Child<QLabel>("lType")->text().isEmpty());
    EXPECT_TRUE(Child<TKVBEllipsisLabel>("lInFile")->Caption().empty());
    EXPECT_TRUE(Child<TKVBEllipsisLabel>("lOutFile")->Caption().empty());
    EXPECT_FALSE(Child<QLabel>("lNew")->isVisible());
    EXPECT_EQ(FormChild<QProgressBar>(fProgress, "ProgressBar")->value(), 0);
    Main().EndBusy();
}

TEST_F(BusyState, CancelEscapeEnterAndTheCloseBoxAskToStopButNeverClose) {
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"Cancel", [&] { QTest::mouseClick(Cancel(), Qt::LeftButton); }},
        {"Escape", [&] { QTest::keyClick(Cancel(), Qt::Key_Escape); }},
        {"Enter", [&] { QTest::keyClick(Cancel(), Qt::Key_Return); }},
        {"close box", [&] { fProgress->close(); }},
    };
    for (const auto& [name, way] : ways) {
        SCOPED_TRACE(name);
        Main().BeginBusy();
        ASSERT_FALSE(Main().CancelRequested());
        way();
        EXPECT_TRUE(Main().CancelRequested());
        EXPECT_TRUE(fProgress->isVisible());
        Main().EndBusy();
        EXPECT_TRUE(Idle());
        Stop();
        Start();
    }
}

TEST_F(BusyState, TheDialogAnswersTheWindowItWasMadeFor) {
    const TfMain later; // the newest main window, not the dialog's
    Main().BeginBusy();
    QTest::mouseClick(Cancel(), Qt::LeftButton);
    EXPECT_TRUE(Main().CancelRequested());
    EXPECT_FALSE(later.CancelRequested());
    Main().EndBusy();
    EXPECT_TRUE(Idle()) << "the windows the busy state disabled work again";
}

TEST_F(BusyState, AHeldEnterDoesNotCancel) {
    Main().BeginBusy();
    QKeyEvent repeated(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier, QString("\r"), true);
    QApplication::sendEvent(Cancel(), &repeated);
    EXPECT_FALSE(Main().CancelRequested());
    Main().EndBusy();
}

TEST_F(BusyState, ARealMessageBoxDuringTheOperationIsUsable) {
    auto scripted = InstallMessageService(std::make_unique<QtMessageService>());
    Main().BeginBusy();
    bool boxEnabled = false;
    WhenModal([&](QWidget& box) {
        QAbstractButton* yes = qobject_cast<QMessageBox*>(&box)->button(QMessageBox::Yes);
        boxEnabled = box.isEnabled() && yes->isEnabled();
        QTest::mouseClick(yes, Qt::LeftButton);
    });
    const MessageAnswer answer = quarn::Messages().Show(
        MessageKind::Confirmation, "Overwrite the existing file?", MessageButtons::YesNo);
    EXPECT_TRUE(boxEnabled);
    EXPECT_EQ(answer, MessageAnswer::Yes);
    EXPECT_TRUE(Busy());
    Main().EndBusy();
    InstallMessageService(std::move(scripted));
}

TEST_F(BusyState, MinimizedEndBusyWaitsForTheRestore) {
    Main().BeginBusy();
    // The dialog's minimize box minimizes the application.
    fProgress->showMinimized();
    ASSERT_TRUE(QTest::qWaitFor([&] { return Main().AppMinimized; }, WaitMs));
    EXPECT_TRUE(Main().isMinimized());
    Main().EndBusy();
    EXPECT_TRUE(Main().EndBusyPending);
    EXPECT_TRUE(Busy()) << "dialog, bar and lights stay until the restore";
    Main().showNormal();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !Main().AppMinimized; }, WaitMs));
    EXPECT_FALSE(Main().EndBusyPending);
    EXPECT_TRUE(Idle());
}

TEST_F(BusyState, TheStatusBarReadsToScreenReaders) {
    const auto name = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
    };
    const auto description = [](QWidget* widget) {
        return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Description);
    };
    EXPECT_EQ(name(Child<QLabel>("Panel0")), QStringLiteral("0 files"));
    EXPECT_EQ(name(Child<QLabel>("Panel1")), QStringLiteral("0 files selected"));
    EXPECT_EQ(name(Child<QLabel>("iReady")),
              QStringLiteral("This Status LED is green when Quarn! is not busy"));
    EXPECT_EQ(name(Child<QLabel>("iBusy")),
              QStringLiteral("This Status LED is red when Quarn! is busy"));
    EXPECT_EQ(description(Child<QLabel>("iBusy")), QStringLiteral("off"));
    Main().BeginBusy();
    Main().ShowCounter(2, 5);
    EXPECT_EQ(name(Child<QLabel>("Panel0")), QStringLiteral("Processing file 2 of 5"));
    EXPECT_EQ(description(Child<QLabel>("iBusy")), QStringLiteral("red"));
    Main().SetInFile("a rather long file name that the label cuts.txt");
    EXPECT_EQ(name(Child<QWidget>("lInFile")),
              QStringLiteral("a rather long file name that the label cuts.txt"));
    Main().EndBusy();
}

} // namespace
} // namespace quarn::test
