#include "platform/MessageService.h"

#include <stdexcept>

namespace quarn {

namespace {
std::unique_ptr<MessageService>& Installed() {
    static std::unique_ptr<MessageService> service;
    return service;
}
} // namespace

std::optional<std::string> MessageService::AskFolder(const std::string&) {
    return std::nullopt;
}

MessageService& Messages() {
    auto& service = Installed();
    if (!service) {
        throw std::logic_error("No message service is installed");
    }
    return *service;
}

std::unique_ptr<MessageService> InstallMessageService(std::unique_ptr<MessageService> service) {
    auto previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

} // namespace quarn
