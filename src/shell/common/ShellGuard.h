#pragma once

#include "platform/gui/Guard.h"
#include "shell/common/ShellErrors.h"

#include <utility>

namespace quarn {

// An entry of the shell controls from Qt's event loop: a silent abort ends it quietly, every
// other error goes to the application's error report.
template <typename Handler> bool RunShellGuarded(Handler&& handler) noexcept {
    return RunGuarded([&] {
        try {
            std::forward<Handler>(handler)();
        } catch (const EAbort&) {
        }
    });
}

} // namespace quarn
