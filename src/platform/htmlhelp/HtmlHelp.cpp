// The help control: the entry points HtmlHelpA and HtmlHelpW that the programs resolve
// at run time.
#include "platform/htmlhelp/HelpWindow.h"

#include <QApplication>
#include <QPointer>
#include <QWindow>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace quarn::htmlhelp {

namespace {

constexpr unsigned DisplayTopic = 0; // HH_DISPLAY_TOPIC
constexpr unsigned CloseAll = 18;    // HH_CLOSE_ALL

// A help window asked for from a modal dialog (its F1 or a help button) must take input
// while the dialog stays open: as the dialog's transient window, modality does not block it.
void KeepUsableBesideModalWindow(HelpWindow& window) {
    window.winId(); // creates the window handle
    QWindow* modal = QGuiApplication::modalWindow();
    window.windowHandle()->setTransientParent(modal != window.windowHandle() ? modal : nullptr);
}

std::string CanonicalPath(const std::string& path) {
    char resolved[PATH_MAX];
    return realpath(path.c_str(), resolved) != nullptr ? std::string(resolved) : path;
}

// The open help windows, one for each help file. Unloading the control closes them, so
// that no window outlives the code that draws it.
class HelpWindows {
public:
    ~HelpWindows() {
        if (QCoreApplication::instance() != nullptr) {
            Close();
        }
    }

    // "<file>" or "<file>::/<topic>": the window's handle, or 0 when the file or the topic
    // cannot be shown.
    std::uintptr_t Display(const std::string& location) {
        if (qobject_cast<QApplication*>(QCoreApplication::instance()) == nullptr) {
            return 0;
        }
        const std::size_t split = location.find("::");
        const std::string file = CanonicalPath(location.substr(0, split));
        const std::string topic = split == std::string::npos ? "" : location.substr(split + 2);
        HelpWindow* window = Find(file);
        if (window == nullptr) {
            auto archive = ChmArchive::Open(file);
            if (!archive || !archive->Contains(ObjectPath(TopicUrl(*archive, topic)))) {
                return 0;
            }
            window = new HelpWindow(std::move(archive), file);
            windows_.emplace_back(window);
        }
        if (!window->ShowTopic(topic)) {
            return 0;
        }
        KeepUsableBesideModalWindow(*window);
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        window->show();
        window->raise();
        window->activateWindow();
        return reinterpret_cast<std::uintptr_t>(window);
    }

    void Close() {
        for (const QPointer<HelpWindow>& window : windows_) {
            delete window.data();
        }
        windows_.clear();
    }

private:
    HelpWindow* Find(const std::string& file) {
        std::erase_if(windows_, [](const QPointer<HelpWindow>& window) { return window.isNull(); });
        for (const QPointer<HelpWindow>& window : windows_) {
            if (window->FilePath() == file) {
                return window.data();
            }
        }
        return nullptr;
    }

    std::vector<QPointer<HelpWindow>> windows_;
};

HelpWindows& Windows() {
    static HelpWindows windows;
    return windows;
}

std::uintptr_t Run(const char* file, unsigned command) {
    if (command == DisplayTopic) {
        return file != nullptr ? Windows().Display(file) : 0;
    }
    if (command == CloseAll) {
        Windows().Close();
    }
    return 0;
}

// No exception leaves an exported entry: a call that fails answers 0, as one that shows
// nothing does.
template <typename Call> std::uintptr_t Answering(Call call) noexcept {
    try {
        return call();
    } catch (...) {
        return 0;
    }
}

} // namespace

} // namespace quarn::htmlhelp

extern "C" {

// caller: the calling window (unused: help windows stand on their own); data: unused by
// the two commands.
[[gnu::visibility("default")]] std::uintptr_t HtmlHelpA(std::uintptr_t, const char* file,
                                                        unsigned command, std::uintptr_t) {
    return quarn::htmlhelp::Answering([&] { return quarn::htmlhelp::Run(file, command); });
}

[[gnu::visibility("default")]] std::uintptr_t HtmlHelpW(std::uintptr_t, const wchar_t* file,
                                                        unsigned command, std::uintptr_t) {
    return quarn::htmlhelp::Answering([&] {
        if (file == nullptr) {
            return quarn::htmlhelp::Run(nullptr, command);
        }
        const std::string bytes = QString::fromWCharArray(file).toStdString();
        return quarn::htmlhelp::Run(bytes.c_str(), command);
    });
}

} // extern "C"
