#pragma once

#include <QRadioButton>

namespace quarn {

// A radio button that its click handlers keep exclusive with others, not Qt's grouping (it
// is off for it), so that it can sit in a box of its own. Screen readers still hear a radio
// button (Qt's interface calls such a button a check box), and their action on it is a
// click, which runs the handlers as the mouse and the keyboard do.
class THandlerRadioButton : public QRadioButton {
    Q_OBJECT

public:
    THandlerRadioButton(const QString& text, QWidget* parent);
};

} // namespace quarn
