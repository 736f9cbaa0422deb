#include "shell/winapi/PlatformVersion.h"

#include "platform/VersionInfo.h"

#include <QString>

namespace quarn {

namespace {

PlatformVersion& Version() {
    static PlatformVersion version;
    return version;
}

} // namespace

const PlatformVersion& GetPlatformVersion() {
    return Version();
}
void SetPlatformVersion(const PlatformVersion& version) {
    Version() = version;
}
bool IsWindowsNT() {
    return Version().windowsNT;
}

bool GetDllFileVersion(const std::string& fileName, std::uint64_t& version) {
    if (QString::fromStdString(fileName).compare(QStringLiteral("comctl32.dll"),
                                                 Qt::CaseInsensitive) == 0) {
        version = Version().comCtl32Version;
        return true;
    }
    const auto info = ReadFixedFileInfo(fileName);
    if (!info) {
        return false;
    }
    version = (std::uint64_t{info->fileVersionMS} << 32) | info->fileVersionLS;
    return true;
}

} // namespace quarn
