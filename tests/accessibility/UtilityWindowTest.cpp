// QuarnCLU's window, on both pages, as a screen reader reads it over AT-SPI.
#include "AccessibleWindows.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "clu/CommandLine.h"
#include "clu/Main.h"

#include <QApplication>
#include <QStackedWidget>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

namespace quarn::test {

namespace {

// The window of "QuarnCLU /e letter.txt", shown on its Password page.
class UtilityWindow : public testing::Test {
protected:
    void SetUp() override {
        QApplication::setQuitOnLastWindowClosed(false);
        WriteFileBytes(dir / "letter.txt", "Dear reader");
        const auto line = clu::ParseCommandLine({"QuarnCLU", "/e", dir / "letter.txt"});
        ASSERT_TRUE(line.has_value());
        window_ = std::make_unique<clu::TfMain>(*line, dir.Folder());
        ASSERT_TRUE(window_->ShowMainForm());
        window_->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(window_.get()));
    }

    void TearDown() override {
        window_->close();
        window_.reset();
    }

    ScopedScriptedMessages messages;
    TempDir dir;
    std::unique_ptr<clu::TfMain> window_;
};

} // namespace

TEST_F(UtilityWindow, PasswordPage) {
    const std::vector<AtSpiObject> tree = ExpectReadable(*window_, "frame");
    EXPECT_TRUE(Holds(tree, "password text", "Password:"));
}

TEST_F(UtilityWindow, ProgressPage) {
    auto* notebook = window_->findChild<QStackedWidget*>(QStringLiteral("Notebook"));
    ASSERT_NE(notebook, nullptr);
    notebook->setCurrentWidget(notebook->findChild<QWidget*>(QStringLiteral("Progress")));
    window_->ShowCounter(1, 2);
    window_->SetOperationType("Encrypting:");
    window_->SetInFile("letter.txt");
    window_->SetFileProgress(40);
    window_->SetOverallProgress(50);
    const std::vector<AtSpiObject> tree = ExpectReadable(*window_, "frame");
    EXPECT_TRUE(Holds(tree, "label", "1 of 2"));
}

} // namespace quarn::test
