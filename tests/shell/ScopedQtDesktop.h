#pragma once

#include "shell/menus/QtDesktopServices.h"

#include <memory>

namespace quarn::test {

// Installs the Qt services for the object's lifetime.
class ScopedQtDesktop {
public:
    ScopedQtDesktop() : previous_(InstallDesktopServices(std::make_unique<QtDesktopServices>())) {}
    ~ScopedQtDesktop() { InstallDesktopServices(std::move(previous_)); }
    ScopedQtDesktop(const ScopedQtDesktop&) = delete;
    ScopedQtDesktop& operator=(const ScopedQtDesktop&) = delete;

private:
    std::unique_ptr<DesktopServices> previous_;
};

} // namespace quarn::test
