#pragma once

#include "cipher/Rijndael.h"
#include "clu/CommandLine.h"
#include "engine/EngineOptions.h"
#include "engine/FileCommandsView.h"

#include <QSize>
#include <QWidget>
#include <memory>
#include <string>
#include <vector>

class QKeyEvent;

namespace quarn {
class TKVBRunOnce;
} // namespace quarn

namespace quarn::clu {

struct MainForm;

// The utility's one window: the Password page for "/e" and "/d", the Progress page while a
// loop runs. Its construction is the start-up (settings, file list, the wipe question); a
// window whose ShowMainForm() is false must not be shown: the run ended at start-up. Its
// controls are found by name ("Notebook" with the pages "Password" and "Progress",
// "ePassword", "bOK", "lInFile", ...).
class TfMain : public QWidget, public FileCommandsView {
    Q_OBJECT

public:
    // In the design's pixels (platform/gui/DesignScale.h).
    static constexpr QSize PasswordClientSize{263, 119};
    static constexpr QSize ProgressOuterSize{320, 237};

    TfMain(const TCommandLine& commandLine, const std::string& workingFolder,
           QWidget* parent = nullptr);
    ~TfMain() override;

    bool ShowMainForm() const { return showMainForm_; }
    // The run is over: the window closed or the loop ended. Finished() is emitted once.
    bool Ended() const { return ended_; }
    // A loop is running inside bOKClick or RunOnceRun.
    bool Running() const { return running_; }

    // FileCommandsView
    MessageService& Messages() override;
    void ProcessMessages() override;
    bool CancelRequested() const override { return cancelRequested_; }
    void SetFileProgress(int percent) override;
    void SetOperationType(const std::string& text) override;
    void SetInFile(const std::string& name) override;
    void SetOutFile(const std::string& name) override;
    void ClearOutFile() override;
    void ShowCounter(int number, int count) override;
    void SetOverallProgress(int percent) override;

    const EngineOptions& Options() const { return options_; }

    // Fields.
    bool StartWipe = false;
    std::string Password;
    std::string CurrentFolder;
    std::vector<std::string> FileList;

signals:
    void Finished();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateComponents();
    void FormCreate(const std::string& workingFolder);
    void FormShow();
    void FormDestroy();
    // Enter and Escape act on the page's buttons: the window is no dialog.
    bool FormKeyPress(const QKeyEvent& key);
    void ePasswordChange();
    void bOKClick();
    void bCancelClick();
    void Button1Click();
    void RunOnceRun();
    void EncryptFiles();
    void DecryptFiles();
    void WipeFiles();

    void RefusePassword();
    void ShowProgressPage();
    // Size and centred place of the page shown, from the window's frame as far as it is
    // known.
    void PlaceWindow();
    // Runs one loop: no exception leaves it, and the run ends after it on every path.
    template <typename Loop> void RunLoop(Loop loop);
    void EndRun();
    // Ended() becomes true and Finished() is emitted, once.
    void MarkEnded();

    std::unique_ptr<MainForm> form_;
    TRijndael Rijndael;
    TKVBRunOnce* RunOnce = nullptr;
    TCommandLine commandLine_;
    EngineOptions options_;
    // Never cleared: a cancel given before the wipe's timer fires stops it before any file.
    bool cancelRequested_ = false;
    bool showMainForm_ = true;
    bool running_ = false;
    bool ended_ = false;
};

// The one window of the run, while it exists.
extern TfMain* fMain;

// The program after its arguments were read (args[0] the program, as the process got them)
// and the application object exists: start-up checks, the window, its loop. Returns the
// exit code, 0 on every path.
int RunUtility(const std::vector<std::string>& args);

} // namespace quarn::clu
