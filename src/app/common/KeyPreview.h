#pragma once

#include <QObject>
#include <functional>
#include <string>

class QKeyEvent;
class QWidget;

namespace quarn {

// A form's key preview: the form sees the key presses and releases of its controls before
// they do. Made once in the form's constructor (a child of the form, it lives as long as
// the form); it watches the form and every control on it, also those added later, but no
// other window (a message box the form owns has keys of its own).
//
// F1 released shows the form's help topic through the help helpers (an error box when the
// help cannot be shown); the form's own handlers see every other key. A handler returns
// true when it took the key: the key goes no further. A key it leaves may come to it again
// from the control's parents (Qt hands a key a control ignores to its parent), so a handler
// acts only on the keys it takes. Handlers run guarded: a handler that throws has its error
// reported and the key taken.
class KeyPreview : public QObject {
    Q_OBJECT

public:
    using KeyHandler = std::function<bool(const QKeyEvent& key)>;

    // helpTopic as ShowHelpTopic takes it: "password_window", or "" for the help file's
    // default topic.
    explicit KeyPreview(QWidget* form, std::string helpTopic = {});

    void SetHelpTopic(std::string helpTopic) { helpTopic_ = std::move(helpTopic); }

    KeyHandler OnKeyDown;
    KeyHandler OnKeyUp;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Watch(QObject* object);
    bool OnForm(const QObject* object) const;
    bool Preview(const QKeyEvent& key);
    bool HelpKeyUp(const QKeyEvent& key);

    QWidget* form_;
    std::string helpTopic_;
};

} // namespace quarn
