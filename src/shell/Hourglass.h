#pragma once

#include <QCursor>
#include <QGuiApplication>

namespace quarn {

// The busy cursor for the life of the object; the previous cursor comes back on every path.
class Hourglass {
public:
    Hourglass() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QGuiApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass&) = delete;
    Hourglass& operator=(const Hourglass&) = delete;
};

} // namespace quarn
