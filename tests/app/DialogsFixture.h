#pragma once

#include "FakeMainWindow.h"
#include "ScopedEnvironment.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "help/HelpApi.h"
#include "help/HelpFuncs.h"

#include <QApplication>
#include <QDialog>
#include <QMainWindow>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

namespace quarn::test {

// A fresh registry, scripted message boxes and folder pickers, and a fake main window.
class DialogsFixture : public testing::Test {
protected:
    void TearDown() override {
        CloseAllHelpWindows();
        ReleaseHtmlHelp();
        SetApplicationHelpFile({});
    }

    // Help topics open in the built help control's window.
    static void UseHelpControl() {
        ASSERT_TRUE(RegisterHtmlHelpControl(QUARN_HTMLHELP_PATH));
        BindHtmlHelp();
        SetApplicationHelpFile(QUARN_HELP_FILE_PATH);
    }

    // The captions of the help windows shown: "Quarn! Help - <page title>".
    static QStringList HelpWindowTitles() {
        QStringList titles;
        for (QWidget* widget : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMainWindow*>(widget) != nullptr && widget->isVisible()) {
                titles << widget->windowTitle();
            }
        }
        return titles;
    }

    // Runs act on the next modal dialog of class Dialog once it is shown; act closes it. A
    // dialog that act leaves open fails the test and is cancelled.
    template <typename Dialog> static void WhenShown(std::function<void(Dialog&)> act) {
        auto* timer = new QTimer;
        QObject::connect(timer, &QTimer::timeout, [timer, act] {
            auto* dialog = qobject_cast<Dialog*>(QApplication::activeModalWidget());
            if (dialog == nullptr) {
                return;
            }
            timer->stop();
            timer->deleteLater();
            act(*dialog);
            if (dialog->isVisible()) {
                ADD_FAILURE() << "the dialog was left open";
                dialog->reject();
            }
        });
        timer->start(0);
    }

    TempDir registryFolder_;
    ScopedEnvironment registryPlace_{"QUARN_REGISTRY_DIR", registryFolder_.Path().string()};
    ScopedEnvironment noSystemLayer_{"QUARN_SYSTEM_REGISTRY_DIR", ""};
    ScopedScriptedMessages messages_;
    TempDir folders_; // folders to choose
    FakeMainWindow host_;
};

} // namespace quarn::test
