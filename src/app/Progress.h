#pragma once

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <memory>
#include <string>

namespace quarn {

class TfMain;

// The dialog shown while the main window is busy: what is done to which file, the file's
// bar and Cancel. Cancel, Escape, Enter and the close box ask the running operation to stop
// (the cancel flag of the main window it was made for); the close box never closes it, only the end
// of the busy state does (CloseForm). It has no parent window, so that it stays enabled while the
// busy state disables the others; it is centred on its owner. Its controls are found by name:
// "GroupBox1", "lType", "lInFile", "lNew", "lOutFile", "ProgressBar", "bCancel".
class TfProgress : public QDialog {
    Q_OBJECT

public:
    // In the design's pixels (platform/gui/DesignScale.h).
    static constexpr QSize ClientSize{312, 130};

    // owner: the window it is centred on and answers.
    explicit TfProgress(TfMain* owner);
    ~TfProgress() override;

    // The labels emptied, "New File:" hidden, the bar at 0.
    void ClearProgress();
    void SetOperationType(const std::string& text);
    void SetInFile(const std::string& name);
    void SetOutFile(const std::string& name);
    void ClearOutFile();
    // Clamped to 0..100.
    void SetFileProgress(int percent);

    // Shown over its owner, in front, active.
    void ShowForm();
    // Closes it for good: the windows the busy state disabled are enabled again.
    void CloseForm();

    // Escape, and the close box through QDialog.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    struct Form;

    void bCancelClick();
    void FormClose();

    std::unique_ptr<Form> form_;
    QPointer<TfMain> owner_;
    bool closing_ = false;
};

// The one progress dialog of the program, while it exists.
extern TfProgress* fProgress;

} // namespace quarn
