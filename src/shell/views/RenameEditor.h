#pragma once

#include <QString>
#include <optional>
#include <string>

class QWidget;

namespace quarn {

// What the rename editors of the folder tree and the file list share. They show a name's
// bytes as UTF-8 text, each byte that belongs to no valid sequence as U+FFFD, and take the
// edited text back to bytes without losing any that the user left alone.

// The text a rename editor starts with for a name.
QString EditorText(const std::string& name);

// The name that an edited text stands for: the start and the end of the text that the user
// left as they were keep the name's own bytes, what was changed between them is UTF-8, and
// blanks typed at either end of the name are dropped. None when that is the name itself: an
// untouched edit renames nothing.
std::optional<std::string> EditedName(const std::string& name, const QString& edited);

// After a rename editor of control closed: the control takes the focus back, unless the user
// gave it to another widget (a click elsewhere also ends the edit). A message box about a
// refused name leaves it nowhere, and the window would give it to the first of its controls.
void TakeFocusBackFromEditor(QWidget& control);

} // namespace quarn
