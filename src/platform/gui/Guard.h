#pragma once

#include "platform/gui/Application.h"

#include <concepts>
#include <exception>
#include <functional>
#include <utility>

namespace quarn {

// Every entry from Qt's event loop into our code (slots, event overrides, event filters,
// timers) runs through RunGuarded: whatever the handler throws goes to the application's
// error report and never crosses the event loop.

// Runs handler; false when it threw (the error was reported).
template <typename Handler> bool RunGuarded(Handler&& handler) noexcept {
    try {
        std::forward<Handler>(handler)();
        return true;
    } catch (...) {
        ReportException(std::current_exception());
        return false;
    }
}

// A handler for a signal connection that runs through RunGuarded. It takes as many of the
// signal's arguments as the handler accepts, so a handler without arguments serves
// QLineEdit::textChanged as well as one taking the text.
template <typename Handler> class GuardedSlot {
public:
    explicit GuardedSlot(Handler handler) : handler_(std::move(handler)) {}

    template <typename... Args>
    requires std::invocable<const Handler&, Args...>
    void operator()(Args&&... args) const {
        RunGuarded([&] { std::invoke(handler_, std::forward<Args>(args)...); });
    }

private:
    Handler handler_;
};

// connect(bOK, &QPushButton::clicked, this, Guarded([this] { ... }));
template <typename Handler> GuardedSlot<Handler> Guarded(Handler handler) {
    return GuardedSlot<Handler>(std::move(handler));
}

// A form's handler method: connect(bOK, &QPushButton::clicked, this, Guarded(this,
// &TfMain::bOKClick)).
template <typename Form> auto Guarded(Form* form, void (Form::*method)()) {
    return Guarded([form, method] { (form->*method)(); });
}

} // namespace quarn
