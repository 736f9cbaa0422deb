#pragma once

#include <functional>
#include <string>

namespace quarn {

inline constexpr char OpenerWatchName[] = "DesktopOpener";

// Hands target to the desktop's opener and returns at once: "xdg-open", looked up in PATH,
// gets it as its one argument, byte for byte (a web address, or a file's URI). failed runs
// when the opener cannot be started (at once) or ends with a status other than 0 (later,
// from the event loop, guarded): no application for the file's type, no web browser. The
// opener may run as long as the application it starts; the program neither waits for it
// nor ends it. While its end is awaited, each opener has a child of the application named
// OpenerWatchName.
void OpenWithDesktop(const std::string& target, std::function<void()> failed);

} // namespace quarn
