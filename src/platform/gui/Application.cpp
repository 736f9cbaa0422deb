#include "platform/gui/Application.h"

#include "platform/MessageService.h"

#include <QCoreApplication>
#include <cstdio>

namespace quarn {

namespace {
std::string& Title() {
    static std::string title;
    return title;
}
} // namespace

void ProcessMessages() {
    QCoreApplication::processEvents(QEventLoop::AllEvents);
}

// Not Qt's application display name: the platform would append it to every other
// window's caption ("Options — Quarn!").
void SetApplicationTitle(const std::string& title) {
    Title() = title;
}

const std::string& ApplicationTitle() {
    return Title();
}

void ReportException(std::exception_ptr error) {
    std::string text = "Unknown error";
    try {
        std::rethrow_exception(error);
    } catch (const std::exception& e) {
        text = e.what();
    } catch (...) {
    }
    try {
        Messages().Show(MessageKind::Error, text, MessageButtons::Ok);
    } catch (...) {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
}

} // namespace quarn
