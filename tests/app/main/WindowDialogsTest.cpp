// The options dialog, the favorites and the about box reached from the main window's menus.
#include "MainWindowFixture.h"
#include "app/StatusBar.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>
#include <filesystem>

namespace quarn::test {
namespace {

std::string StoredFavorites() {
    TRegistry registry;
    return ReadSettings(registry).Favorites;
}

bool FavoritesValueExists() {
    TRegistry registry;
    return registry.OpenKeyReadOnly(QuarnRegistryKey) && registry.ValueExists("Favorites");
}

class WindowDialogs : public MainWindowTest {
protected:
    QString Panel(int index) const { return Child<TStatusBar>("StatusBar")->PanelText(index); }

    // A shortcut of the main window, once it is active: shortcuts act only there.
    void Press(Qt::Key key, Qt::KeyboardModifiers modifiers) {
        Main().activateWindow();
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return QApplication::activeWindow() == &Main(); }, WaitMs));
        QTest::keyClick(&Main(), key, modifiers);
    }

    // The Favorites menu opened from the keyboard; its items after the three fixed ones.
    QList<QAction*> OpenFavoritesMenu() {
        Press(Qt::Key_A, Qt::AltModifier);
        QMenu* menu = Child<QMenu>("Favorites1");
        EXPECT_TRUE(QTest::qWaitFor([&] { return menu->isVisible(); }, WaitMs));
        QList<QAction*> favorites = menu->actions().mid(3);
        menu->close();
        return favorites;
    }

    bool ShowsFolder(const std::string& folder) {
        return QTest::qWaitFor([&] { return Main().CurrentFolder == folder; }, WaitMs);
    }
};

TEST_F(WindowDialogs, OptionsRoundTripThroughTheMenuItemAndTakeEffect) {
    WriteFileBytes(dir / "thousand.txt", PatternBytes(1000));
    StartIn(dir.Folder());
    EXPECT_EQ(Panel(0), QStringLiteral("1 file"));
    WhenModal([](QWidget& dialog) {
        ASSERT_EQ(dialog.objectName(), QStringLiteral("fOptions"));
        FormChild<QCheckBox>(&dialog, "cbDisplayFolderSize")->click();
        FormChild<QTabWidget>(&dialog, "PageControl1")->setCurrentIndex(2);
        FormChild<QRadioButton>(&dialog, "rbGovernmentWipe")->click();
        QLineEdit* hex = FormChild<QLineEdit>(&dialog, "eGovernmentHex");
        hex->clear();
        TypeText(hex, "a0");
        FormChild<QPushButton>(&dialog, "bOk")->click();
    });
    Child<QAction>("Options1")->trigger();

    EXPECT_EQ(Panel(0), QStringLiteral("1 file, 0.97 KB")) << "the views are refreshed";
    EXPECT_FALSE(Main().Options().Engine.FastWipe);
    EXPECT_EQ(Main().Options().Engine.HexValue, 0xA0);
    TRegistry registry;
    const Settings stored = ReadSettings(registry).Values;
    EXPECT_TRUE(stored.DisplayFolderSize);
    EXPECT_FALSE(stored.Engine.FastWipe);
    EXPECT_EQ(stored.Engine.HexValue, 0xA0);

    WhenModal([](QWidget& dialog) {
        EXPECT_TRUE(FormChild<QCheckBox>(&dialog, "cbDisplayFolderSize")->isChecked());
        EXPECT_TRUE(FormChild<QRadioButton>(&dialog, "rbGovernmentWipe")->isChecked());
        EXPECT_FALSE(FormChild<QRadioButton>(&dialog, "rbFastWipe")->isChecked());
        EXPECT_EQ(FormChild<QLineEdit>(&dialog, "eGovernmentHex")->text(), QStringLiteral("A0"));
        FormChild<QPushButton>(&dialog, "Button2")->click();
    });
    Child<QAction>("Options1")->trigger();
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(WindowDialogs, AFolderAddedWithCtrlDShowsInTheMenuAndNavigates) {
    const std::string folder = dir / "R&D";
    std::filesystem::create_directory(folder);
    WriteFileBytes(folder + "/plan.txt", PatternBytes(10));
    StartIn(folder + "/");
    Press(Qt::Key_D, Qt::ControlModifier);
    EXPECT_EQ(messages->Texts(),
              std::vector<std::string>{"'" + folder + "' has been added to your favorites."});
    EXPECT_FALSE(StoredFavorites().empty());

    Main().GoToPath(dir.Path().string());
    ASSERT_TRUE(ShowsFolder(dir.Folder()));
    const QList<QAction*> favorites = OpenFavoritesMenu();
    ASSERT_EQ(favorites.size(), 1);
    EXPECT_EQ(favorites[0]->text(), QString::fromStdString(dir / "R&&D")) << "one '&' shown";
    favorites[0]->trigger();
    ASSERT_TRUE(ShowsFolder(folder + "/"));
    EXPECT_EQ(Panel(0), QStringLiteral("1 file"));

    // Loaded again at the next start.
    Stop();
    Start();
    EXPECT_EQ(OpenFavoritesMenu().size(), 1);
}

TEST_F(WindowDialogs, TheManagerOpensFromItsMenuItemShortcutAndButton) {
    Start();
    int opened = 0;
    const auto answerOk = [&](QWidget& dialog) {
        EXPECT_EQ(dialog.objectName(), QStringLiteral("fFavorites"));
        EXPECT_EQ(dialog.parentWidget(), &Main());
        ++opened;
        FormChild<QPushButton>(&dialog, "bOk")->click();
    };
    WhenModal(answerOk);
    Child<QAction>("ManageFavorites1")->trigger();
    WhenModal(answerOk);
    Press(Qt::Key_F, Qt::ControlModifier);
    WhenModal(answerOk);
    Child<QToolButton>("tbFavorites")->click();
    EXPECT_EQ(opened, 3);
    EXPECT_FALSE(FavoritesValueExists()) << "OK without a change writes nothing";
    EXPECT_TRUE(messages->shown.empty());
}

// The controls a user reaches (with Tab, or by clicking a button) that a screen reader would
// announce without a name.
QStringList Unnamed(const QWidget& window) {
    QStringList unnamed;
    for (QWidget* control : window.findChildren<QWidget*>()) {
        const bool reached = (control->focusPolicy() & Qt::TabFocus) ||
                             qobject_cast<QAbstractButton*>(control) != nullptr;
        if (!reached || !control->isVisibleTo(&window) || control->inherits("QScrollBar") ||
            control->inherits("QTabWidget") || control->inherits("QTabBar") ||
            control->parentWidget()->inherits("QTabBar")) {
            continue;
        }
        QAccessibleInterface* reader = QAccessible::queryAccessibleInterface(control);
        if (reader->text(QAccessible::Name).trimmed().isEmpty()) {
            unnamed << control->objectName() + " (" + control->metaObject()->className() + ")";
        }
    }
    return unnamed;
}

TEST_F(WindowDialogs, EveryControlOfTheWindowsTellsItsNameToScreenReaders) {
    WriteFileBytes(dir / "a.txt", PatternBytes(10));
    StartIn(dir.Folder());
    EXPECT_EQ(Unnamed(Main()).join(", ").toStdString(), "");
    for (const TViewStyle style : {TViewStyle::vsIcon, TViewStyle::vsReport}) {
        List().SetViewStyle(style);
        EXPECT_EQ(QAccessible::queryAccessibleInterface(List().View())->text(QAccessible::Name),
                  QStringLiteral("Files"));
    }
    for (const char* item : {"Options1", "ManageFavorites1"}) {
        SCOPED_TRACE(item);
        WhenModal([](QWidget& dialog) {
            EXPECT_EQ(Unnamed(dialog).join(", ").toStdString(), "");
            dialog.close();
        });
        Child<QAction>(item)->trigger();
    }
}

} // namespace
} // namespace quarn::test
