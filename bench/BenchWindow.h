#pragma once

#include "engine/FileCommandsView.h"
#include "platform/MessageService.h"

#include <QLabel>
#include <QProgressBar>
#include <QWidget>
#include <chrono>

namespace quarn::bench {

// A shown window for the loops under benchmark: the labels, the file bar and the overall bar,
// with pending events processed for real, as the programs process them. It records the
// longest time the window went without processing them. A message box would mean the run
// failed: it throws instead.
class BenchWindow : public FileCommandsView {
public:
    BenchWindow();

    MessageService& Messages() override { return messages_; }
    void ProcessMessages() override;
    bool CancelRequested() const override { return false; }
    void SetFileProgress(int percent) override { fileBar_.setValue(percent); }
    void SetOperationType(const std::string& text) override { SetText(type_, text); }
    void SetInFile(const std::string& name) override { SetText(inFile_, name); }
    void SetOutFile(const std::string& name) override { SetText(outFile_, name); }
    void ClearOutFile() override { outFile_.clear(); }
    void ShowCounter(int number, int count) override;
    void SetOverallProgress(int percent) override { overallBar_.setValue(percent); }

    // A run starts: the window has just answered. The longest gap is measured from here.
    void StartRun();
    // The run ended and control goes back to the event loop; answers the longest time without
    // processing events since StartRun, in milliseconds.
    double EndRun();

private:
    class Refusing : public MessageService {
    public:
        MessageAnswer Show(MessageKind, const std::string& text, MessageButtons) override;
        std::optional<std::string> AskSaveFile(const SaveDialogRequest&) override;
    };

    static void SetText(QLabel& label, const std::string& text);
    void NoteAnswer();

    Refusing messages_;
    QWidget window_;
    QLabel type_, inFile_, outFile_, counter_;
    QProgressBar fileBar_, overallBar_;
    std::chrono::steady_clock::time_point lastAnswer_;
    std::chrono::steady_clock::duration longestGap_{};
};

} // namespace quarn::bench
