#pragma once

#include "FormChild.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "TypeText.h"
#include "app/Main.h"
#include "app/NewPass.h"
#include "app/Progress.h"
#include "app/common/Settings.h"
#include "shell/list/ShellList.h"
#include "shell/tree/ShellTree.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quarn::test {

// Each test starts with an empty registry, scripted message boxes and a folder of its own.
class MainWindowTest : public ProgramFixture {
protected:
    void TearDown() override;

    // The three forms in the order the program makes them; the main window shown and its
    // start-up steps run. arguments: the command line after the program's name.
    void Start(const std::vector<std::string>& arguments = {});
    // Closes and destroys the forms.
    void Stop();
    // Starts in folder (ending in "/") and waits for the list to show it.
    void StartIn(const std::string& folder);

    TSCShellList& List() const { return *Child<TSCShellList>("scsList"); }
    TSCShellTree& Tree() const { return *Child<TSCShellTree>("scsTree"); }

    TfMain& Main() const { return *main_; }
    // A control of any of the three forms by name.
    template <typename Widget> Widget* Child(const char* name) const {
        for (const QWidget* form :
             {static_cast<const QWidget*>(main_.get()), static_cast<const QWidget*>(newPass_.get()),
              static_cast<const QWidget*>(progress_.get())}) {
            if (auto* child = form->findChild<Widget*>(QString::fromLatin1(name))) {
                return child;
            }
        }
        ADD_FAILURE() << "no control \"" << name << "\"";
        return nullptr;
    }

    // Runs action on the next modal window (dialog or box) once it is up and active, from inside
    // its own loop. A wait that is still pending ends with the test.
    void WhenModal(std::function<void(QWidget& window)> action);
    // Answers the next password dialog: types both entries, checks "Use for session" as
    // asked, and presses OK.
    void AnswerPassword(const std::string& password, bool useForSession = false);
    void AnswerPassword(const std::string& password, const std::string& confirm,
                        bool useForSession);
    // How long a test waits for the windows, in milliseconds.
    static constexpr int WaitMs = 20'000;

    // Stores all ten settings, as the options dialog does.
    static void WriteSettings(const Settings& settings);

    ScopedScriptedMessages messages;
    TempDir dir;
    std::unique_ptr<TfMain> main_;
    std::unique_ptr<TfNewPass> newPass_;
    std::unique_ptr<TfProgress> progress_;

private:
    std::vector<QPointer<QTimer>> modalWaits_;
};

} // namespace quarn::test
