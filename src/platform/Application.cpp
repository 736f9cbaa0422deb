#include "platform/Application.h"

#include "platform/MessageService.h"

#include <QCoreApplication>
#include <climits>
#include <cstdio>
#include <unistd.h>

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

std::string ProgramFilePath() {
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path);
    return length > 0 && static_cast<std::size_t>(length) < sizeof path
               ? std::string(path, static_cast<std::size_t>(length))
               : std::string();
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
