#pragma once

#include <QFont>
#include <QWidget>

namespace quarn {

// The desktop program's windows are laid out for an 11-pixel face (an 8-point face at 96 dpi).
inline void UseDesignFace(QWidget* window) {
    QFont face = window->font();
    face.setPixelSize(11);
    window->setFont(face);
}

} // namespace quarn
