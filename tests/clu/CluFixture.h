#pragma once

#include "FormChild.h"
#include "ProgramFixture.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "app/common/KVBEllipsisLabel.h"
#include "clu/Main.h"

#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QWidget>
#include <gtest/gtest.h>
#include <memory>
#include <string>
#include <vector>

namespace quarn::clu::test {

using quarn::test::PathExists;
using quarn::test::PatternBytes;
using quarn::test::ReadFileBytes;
using quarn::test::WriteFileBytes;

// The window's controls by name.
inline QLineEdit* Edit(const TfMain& window, const char* name) {
    return quarn::test::FormChild<QLineEdit>(&window, name);
}
inline QPushButton* Button(const TfMain& window, const char* name) {
    return quarn::test::FormChild<QPushButton>(&window, name);
}
inline QLabel* Label(const TfMain& window, const char* name) {
    return quarn::test::FormChild<QLabel>(&window, name);
}
inline TKVBEllipsisLabel* FileNameLabel(const TfMain& window, const char* name) {
    return quarn::test::FormChild<TKVBEllipsisLabel>(&window, name);
}
inline QProgressBar* Bar(const TfMain& window, const char* name) {
    return quarn::test::FormChild<QProgressBar>(&window, name);
}
// The name of the page the notebook shows: "Password" or "Progress".
QString CurrentPage(const TfMain& window);

// Each test starts with an empty registry, scripted message boxes and its own folder.
class CluTest : public quarn::test::ProgramFixture {
protected:
    void TearDown() override;

    // The window as the program creates it for "QuarnCLU <args...>"; relative names are
    // taken against the test's folder.
    std::unique_ptr<TfMain> Create(const std::vector<std::string>& args);
    // Creates and shows the window, types password into both edits and presses OK. The
    // loop runs inside the click.
    std::unique_ptr<TfMain> RunWithPassword(const std::vector<std::string>& args,
                                            const std::string& password);
    std::unique_ptr<TfMain> RunWithPassword(const std::vector<std::string>& args,
                                            const std::string& password,
                                            const std::string& confirm);

    // Types text into widget key by key, also characters that have no key of their own.
    static void TypeText(QWidget* widget, const std::string& text);

    // Registry values under the program's key.
    static void WriteContextMenu(const std::string& text);
    static std::string ReadContextMenu();
    static void WriteBoolSetting(const std::string& name, bool value);
    static void WriteIntegerSetting(const std::string& name, int value);

    // Every file name in the folder, sorted.
    static std::vector<std::string> Names(const std::string& folder);

    quarn::test::ScopedScriptedMessages messages;
    quarn::test::TempDir dir;
};

} // namespace quarn::clu::test
