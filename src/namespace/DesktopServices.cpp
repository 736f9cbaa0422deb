#include "namespace/DesktopServices.h"

#include <stdexcept>

namespace quarn {

namespace {
std::unique_ptr<DesktopServices>& Installed() {
    static std::unique_ptr<DesktopServices> services;
    return services;
}
} // namespace

DesktopServices& InstalledDesktop() {
    auto& services = Installed();
    if (!services) {
        throw std::logic_error("No desktop services are installed");
    }
    return *services;
}

std::unique_ptr<DesktopServices> InstallDesktopServices(std::unique_ptr<DesktopServices> services) {
    auto previous = std::move(Installed());
    Installed() = std::move(services);
    return previous;
}

} // namespace quarn
