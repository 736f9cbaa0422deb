// Quarn's windows as a screen reader reads them over AT-SPI.
#include "AccessibleWindows.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "app/About.h"
#include "app/Favorites.h"
#include "app/Main.h"
#include "app/NewPass.h"
#include "app/Options.h"
#include "app/Progress.h"

#include <QApplication>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace quarn::test {

namespace {

// The main window in a folder with two files, and the two dialogs the program makes with it.
class ProgramWindows : public testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        WriteFileBytes(dir / "letter.txt", "Dear reader");
        WriteFileBytes(dir / "photo.png", PatternBytes(2000));
        main_ = std::make_unique<TfMain>(std::vector<std::string>{dir.Folder()});
        newPass_ = std::make_unique<TfNewPass>(main_.get());
        progress_ = std::make_unique<TfProgress>(main_.get());
        Show(*main_);
        ASSERT_TRUE(QTest::qWaitFor([this] { return main_->CurrentFolder == dir.Folder(); }));
    }

    void TearDown() override {
        main_->close();
        progress_.reset();
        newPass_.reset();
        main_.reset();
    }

    static void Show(QWidget& window) {
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    }

    ScopedScriptedMessages messages;
    TempDir dir;
    std::unique_ptr<TfMain> main_;
    std::unique_ptr<TfNewPass> newPass_;
    std::unique_ptr<TfProgress> progress_;
};

} // namespace

TEST_F(ProgramWindows, MainWindowWithItsMenusToolBarTreeListAndStatusBar) {
    const std::vector<AtSpiObject> tree = ExpectReadable(*main_, "frame");
    // The walk reached into the menus, the tool bar, both panes and the status bar.
    EXPECT_TRUE(Holds(tree, "menu item", "Options..."));
    EXPECT_TRUE(Holds(tree, "push button", "Encrypt selected files"));
    EXPECT_TRUE(Holds(tree, "tree", "Folders"));
    EXPECT_TRUE(Holds(tree, "table cell", "letter.txt"));
    EXPECT_TRUE(Holds(tree, "label", "2 files"));
}

TEST_F(ProgramWindows, PasswordDialog) {
    newPass_->NewPassword = true;
    Show(*newPass_);
    const std::vector<AtSpiObject> tree = ExpectReadable(*newPass_, "dialog");
    EXPECT_TRUE(Holds(tree, "check box", "Use for session"));
    newPass_->hide();
}

TEST_F(ProgramWindows, OptionsDialogWithItsThreePages) {
    TfOptions options(main_.get());
    options.LoadSettings(main_->SettingsFields());
    Show(options);
    const std::vector<AtSpiObject> tree = ExpectReadable(options, "dialog");
    // The pages not shown are read too.
    EXPECT_TRUE(Holds(tree, "radio button", "Fast Wipe"));
    EXPECT_TRUE(Holds(tree, "radio button", "Government Wipe - (DoD 5220.22-M)"));
}

TEST_F(ProgramWindows, FavoritesManager) {
    TfFavorites favorites(*main_, main_.get());
    favorites.AddItem(dir.Path().string());
    Show(favorites);
    const std::vector<AtSpiObject> tree = ExpectReadable(favorites, "dialog");
    EXPECT_TRUE(Holds(tree, "table cell", dir.Path().string()));
}

TEST_F(ProgramWindows, AboutBox) {
    auto* about = new TfAbout(main_.get()); // deletes itself when closed
    Show(*about);
    ExpectReadable(*about, "dialog");
    about->close();
}

TEST_F(ProgramWindows, ProgressDialogAndOverallBarWhileBusy) {
    main_->BeginBusy();
    main_->SetOperationType("Encrypting:");
    main_->SetInFile("letter.txt");
    main_->SetOutFile("0.zot!");
    main_->SetFileProgress(40);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(progress_.get()));
    const std::vector<AtSpiObject> dialog = ExpectReadable(*progress_, "dialog");
    EXPECT_TRUE(Holds(dialog, "label", "letter.txt"));
    const std::vector<AtSpiObject> window = ExpectReadable(*main_, "frame");
    main_->EndBusy();
}

} // namespace quarn::test
