// The view-style commands of the View menu and the tool bar's drop-down, and the selection
// commands and status counts in every style.
#include "ListFixture.h"

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QMenu>
#include <QMenuBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>
#include <array>
#include <vector>

namespace quarn::test {
namespace {

struct Style {
    const char* caption;
    TViewStyle style;
};

constexpr std::array<Style, 4> Styles = {{{"Tiles", TViewStyle::vsIcon},
                                          {"Icons", TViewStyle::vsSmallIcon},
                                          {"List", TViewStyle::vsList},
                                          {"Details", TViewStyle::vsReport}}};

class ViewCommands : public ListTest {
protected:
    QMenu& ViewMenu() const { return *Child<QMenu>("View1"); }
    QMenu& DropDown() const { return *Child<QMenu>("pmView"); }

    static QAction* Item(const QMenu& menu, const char* caption) {
        for (QAction* item : menu.actions()) {
            if (item->text() == QString::fromUtf8(caption)) {
                return item;
            }
        }
        ADD_FAILURE() << "no item " << caption;
        return nullptr;
    }

    // Picks caption in menu once it is open, with the keyboard.
    static void PickWhenOpen(QMenu& menu, const char* caption) {
        auto* poll = new QTimer(&menu);
        QObject::connect(poll, &QTimer::timeout, [poll, &menu, caption] {
            if (QApplication::activePopupWidget() != &menu) {
                return;
            }
            poll->deleteLater();
            poll->stop();
            menu.setActiveAction(Item(menu, caption));
            QTest::keyClick(&menu, Qt::Key_Return);
        });
        poll->start(10);
    }

    // Alt+V, then the item.
    void ChooseFromViewMenu(const char* caption) {
        Main().activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
        PickWhenOpen(ViewMenu(), caption);
        QTest::keyClick(&Main(), Qt::Key_V, Qt::AltModifier);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !ViewMenu().isVisible(); }, WaitMs));
    }

    // A click on the tool bar's "Views", then the item.
    void ChooseFromDropDown(const char* caption) {
        PickWhenOpen(DropDown(), caption);
        QTest::mouseClick(Child<QToolButton>("tbView"), Qt::LeftButton);
        ASSERT_TRUE(QTest::qWaitFor([&] { return !DropDown().isVisible(); }, WaitMs));
    }

    // The captions of the checked items while menu is open.
    static QStringList CheckedWhenOpen(QMenu& menu) {
        menu.popup(QPoint(0, 0));
        QStringList checked;
        for (const QAction* item : menu.actions()) {
            if (item->isChecked()) {
                checked << item->text();
            }
        }
        menu.hide();
        return checked;
    }

    void SwitchTo(TViewStyle style) {
        for (const Style& each : Styles) {
            if (each.style == style) {
                Item(ViewMenu(), each.caption)->trigger();
            }
        }
        ASSERT_EQ(List().ViewStyle(), style);
    }

    // The list's own context menu for the item at point, closed once it is up.
    void ContextMenuAt(const QPoint& point) {
        QTest::mousePress(View().viewport(), Qt::RightButton, {}, point);
        QTest::mouseRelease(View().viewport(), Qt::RightButton, {}, point);
        auto* poll = new QTimer(&Main());
        QObject::connect(poll, &QTimer::timeout, [poll] {
            if (QWidget* popup = QApplication::activePopupWidget()) {
                poll->deleteLater();
                poll->stop();
                popup->close();
            }
        });
        poll->start(10);
        QContextMenuEvent event(QContextMenuEvent::Mouse, point,
                                View().viewport()->mapToGlobal(point));
        QApplication::sendEvent(View().viewport(), &event);
        delete poll;
    }
};

TEST_F(ViewCommands, EachStyleFromTheMenuAndTheDropDownWithItsCheckMarkKeepingTheSelection) {
    for (const char* name : {"a.txt", "b.txt", "c.txt"}) {
        WriteFileBytes(dir / name, PatternBytes(100));
    }
    StartWithSizes(false, true);
    EXPECT_EQ(List().ViewStyle(), TViewStyle::vsReport);
    Click("a.txt");
    Click("c.txt", Qt::ControlModifier);
    const std::vector<std::string> selected = {"a.txt", "c.txt"};
    for (const bool fromMenu : {true, false}) {
        for (const Style& each : Styles) {
            SCOPED_TRACE(testing::Message() << each.caption << (fromMenu ? " menu" : " drop-down"));
            if (fromMenu) {
                ChooseFromViewMenu(each.caption);
            } else {
                ChooseFromDropDown(each.caption);
            }
            EXPECT_EQ(List().ViewStyle(), each.style);
            EXPECT_EQ(List().SelectedDisplayNames(), selected);
            EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 200 bytes"));
            EXPECT_EQ(CheckedWhenOpen(ViewMenu()), QStringList{each.caption});
            EXPECT_EQ(CheckedWhenOpen(DropDown()), QStringList{each.caption});
        }
    }
}

TEST_F(ViewCommands, SelectionCommandsAndCountsInEveryStyle) {
    WriteFileBytes(dir / "a.txt", PatternBytes(1536));
    WriteFileBytes(dir / "b.txt", PatternBytes(100));
    WriteFileBytes(dir / "c.txt", PatternBytes(200));
    StartWithSizes(true, true);
    for (const Style& each : Styles) {
        SCOPED_TRACE(each.caption);
        SwitchTo(each.style);
        QTest::mouseClick(Child<QToolButton>("tbSelectAll"), Qt::LeftButton);
        EXPECT_EQ(List().SelCount(), 3);
        EXPECT_EQ(Panel(1), QStringLiteral("3 files selected, 1.79 KB"));
        Click("a.txt");
        EXPECT_EQ(Panel(1), QStringLiteral("1 file selected, 1.50 KB"));
        Child<QAction>("InvertSelection1")->trigger();
        EXPECT_EQ(List().SelectedDisplayNames(), (std::vector<std::string>{"b.txt", "c.txt"}));
        EXPECT_EQ(Panel(1), QStringLiteral("2 files selected, 300 bytes"));
        ClickEmptySpace();
        EXPECT_EQ(Panel(1), QStringLiteral("0 files selected, 0 bytes"));
        Click("a.txt");
        QTest::keyClick(&View(), Qt::Key_End, Qt::ShiftModifier);
        EXPECT_EQ(Panel(1), QStringLiteral("3 files selected, 1.79 KB"));
        EXPECT_EQ(Panel(0), QStringLiteral("3 files, 1.79 KB"));
    }
}

// A right click selects the item under it; the count follows when its menu opens.
TEST_F(ViewCommands, TheContextMenuCountsTheSelectionInEveryStyle) {
    WriteFileBytes(dir / "a.txt", PatternBytes(1000));
    WriteFileBytes(dir / "b.txt", PatternBytes(100));
    StartWithSizes(false, true);
    for (const Style& each : Styles) {
        SCOPED_TRACE(each.caption);
        SwitchTo(each.style);
        ClickEmptySpace();
        ASSERT_EQ(Panel(1), QStringLiteral("0 files selected, 0 bytes"));
        ContextMenuAt(PointOf("b.txt"));
        EXPECT_EQ(List().SelectedDisplayNames(), std::vector<std::string>{"b.txt"});
        EXPECT_EQ(Panel(1), QStringLiteral("1 file selected, 100 bytes"));
    }
}

} // namespace
} // namespace quarn::test
