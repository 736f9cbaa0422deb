#include "platform/MessageService.h"

#include "platform/QtMessageService.h"

namespace quarn {

namespace {
std::unique_ptr<MessageService>& Installed() {
    static std::unique_ptr<MessageService> service;
    return service;
}
} // namespace

MessageService& Messages() {
    auto& service = Installed();
    if (!service) {
        service = std::make_unique<QtMessageService>();
    }
    return *service;
}

std::unique_ptr<MessageService> InstallMessageService(std::unique_ptr<MessageService> service) {
    auto previous = std::move(Installed());
    Installed() = std::move(service);
    return previous;
}

} // namespace quarn
