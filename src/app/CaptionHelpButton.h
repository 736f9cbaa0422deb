#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace quarn {

// The help button in a form's caption. Where the window system draws one, pressing it puts Qt
// into what's-this mode; while the form is the active window, the form leaves that mode at once
// and shows its help (onHelp runs from the event loop, guarded). A child of the form.
class CaptionHelpButton : public QObject {
public:
    CaptionHelpButton(QWidget* form, std::function<void()> onHelp);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* form_;
    std::function<void()> onHelp_;
};

} // namespace quarn
