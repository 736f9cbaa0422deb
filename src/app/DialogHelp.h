#pragma once

#include <functional>
#include <string>

class QWidget;

namespace quarn {

class KeyPreview;

// The help of every dialog of the program: F1 released anywhere in it shows keyTopic (as
// ShowHelpTopic takes it), and the caption's help button runs captionHelp. Answers the
// dialog's key preview, for its own key handlers; both live as children of the dialog.
KeyPreview& AddDialogHelp(QWidget& dialog, std::string keyTopic, std::function<void()> captionHelp);

} // namespace quarn
