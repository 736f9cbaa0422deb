#pragma once

#include <QDialog>
#include <QPointer>
#include <QSize>
#include <memory>

namespace quarn {

class TfMain;

// The dialog in which a password is typed twice. On OK it stores the password and the
// choice of "Use for session" in the main window it was made for (SessionPassword,
// ReusePassword); Cancel, Escape and the close box change nothing. It lives as long as the program,
// so the state of its controls carries over from one showing to the next: with "Use for session"
// checked the texts stay. F1 and the caption's help button show its help topic; each showing
// processes the pending events. It has no parent window and is centred on its owner. Its
// controls are
// found by name: "GroupBox1", "Label1", "ePassword", "Label2", "eConfirm",
// "cbReusePassword", "bOK", "bCancel".
class TfNewPass : public QDialog {
    Q_OBJECT

public:
    // In the design's pixels (platform/gui/DesignScale.h).
    static constexpr QSize ClientSize{263, 139};

    // owner: the window it is centred on and answers.
    explicit TfNewPass(TfMain* owner);
    ~TfNewPass() override;

    // Set before each showing: true for a password that encrypts, which must have at least
    // 8 characters.
    bool NewPassword = false;

    // A close asked for while the dialog shows (by the events its showing processes) is
    // done once its own loop runs: exec() would wait for ever for a dialog closed before.
    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;

private:
    struct Form;

    void WMSysCommand();
    void ePasswordChange();
    void bOKClick();
    void FormShow();
    void RefusePassword();

    std::unique_ptr<Form> form_;
    QPointer<TfMain> owner_;
    bool showing_ = false;
};

// The one password dialog of the program, while it exists.
extern TfNewPass* fNewPass;

} // namespace quarn
