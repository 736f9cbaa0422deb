#include "FakeOpener.h"

#include "platform/gui/DesktopOpener.h"

#include <QCoreApplication>
#include <QTest>
#include <cstdlib>
#include <filesystem>
#include <fstream>

namespace quarn::test {

namespace {

std::string PathWithFirst(const std::filesystem::path& folder) {
    const char* path = std::getenv("PATH");
    return folder.string() + (path != nullptr ? std::string(":") + path : std::string());
}

} // namespace

FakeOpener::FakeOpener(int exitStatus) : path_("PATH", PathWithFirst(dir_.Path())) {
    const std::string script = dir_ / "xdg-open";
    WriteFileBytes(script, "#!/bin/sh\n"
                           "printf '%s\\n' \"$1\" >> '" +
                               (dir_ / "opened") +
                               "'\n"
                               "while [ -e '" +
                               (dir_ / "hold") +
                               "' ]; do sleep 0.01; done\n"
                               "exit " +
                               std::to_string(exitStatus) + "\n");
    std::filesystem::permissions(script, std::filesystem::perms::owner_all);
}

std::vector<std::string> FakeOpener::Opened() const {
    std::vector<std::string> targets;
    std::ifstream in(dir_ / "opened", std::ios::binary);
    for (std::string line; std::getline(in, line);) {
        targets.push_back(line);
    }
    return targets;
}

void FakeOpener::Hold() {
    WriteFileBytes(dir_ / "hold", "");
}

void FakeOpener::Release() {
    std::filesystem::remove(dir_ / "hold");
}

bool FakeOpener::WaitUntilEnded(int timeoutMs) {
    return QTest::qWaitFor(
        [] {
            return QCoreApplication::instance()->findChild<QObject*>(
                       QLatin1String(OpenerWatchName), Qt::FindDirectChildrenOnly) == nullptr;
        },
        timeoutMs);
}

} // namespace quarn::test
