#include "platform/gui/DesktopOpener.h"

#include "platform/DetachedProcess.h"
#include "platform/gui/Guard.h"

#include <QCoreApplication>
#include <QSocketNotifier>
#include <memory>

namespace quarn {

namespace {

constexpr char Opener[] = "xdg-open";

// Waits in the event loop for one opener to end, runs failed when it failed, and is gone.
class OpenerWatch : public QObject {
public:
    OpenerWatch(std::unique_ptr<WatchedProcess> opener, std::function<void()> failed)
        : QObject(QCoreApplication::instance()), opener_(std::move(opener)),
          failed_(std::move(failed)), ended_(opener_->EndedFd(), QSocketNotifier::Read) {
        setObjectName(QLatin1String(OpenerWatchName));
        connect(&ended_, &QSocketNotifier::activated, this, [this] { Ended(); });
    }

private:
    void Ended() {
        const std::optional<int> status = opener_->ExitStatus();
        if (!status) {
            return;
        }
        ended_.setEnabled(false);
        const std::function<void()> failed = std::move(failed_);
        deleteLater();
        if (*status != 0) {
            RunGuarded(failed);
        }
    }

    std::unique_ptr<WatchedProcess> opener_;
    std::function<void()> failed_;
    // Gone before the opener's descriptor.
    QSocketNotifier ended_;
};

} // namespace

void OpenWithDesktop(const std::string& target, std::function<void()> failed) {
    auto opener = std::make_unique<WatchedProcess>(Opener, std::vector<std::string>{target});
    if (!opener->StartFailure().empty()) {
        failed();
        return;
    }
    new OpenerWatch(std::move(opener), std::move(failed));
}

} // namespace quarn
