#pragma once

#include <QObject>
#include <functional>

class QWidget;

namespace quarn {

// A control's fill once it is first shown. At the first show, shown runs and, when the control
// wants filling then, a fill is posted; it runs from the event loop only if the control is
// still empty, so that a fill that came first is not done twice. Owned by the control.
class TSCFillOnFirstShow : public QObject {
public:
    struct Hooks {
        std::function<bool()> autoFills; // its option to fill itself is set
        std::function<bool()> empty;
        std::function<void()> fill;
        std::function<void()> shown = {}; // may be empty
    };
    TSCFillOnFirstShow(QWidget& control, Hooks hooks);

    // The control has been shown.
    bool Shown() const { return shown_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FirstShown();

    QWidget& control_;
    Hooks hooks_;
    bool shown_ = false;
};

} // namespace quarn
