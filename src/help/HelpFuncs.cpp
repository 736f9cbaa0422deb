#include "help/HelpFuncs.h"

#include "help/HelpApi.h"
#include "platform/AsciiText.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/ProgramFile.h"
#include "platform/SafeFile.h"
#include "platform/VersionInfo.h"

#include <QLibraryInfo>
#include <QtGlobal>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quarn {

namespace {

constexpr const char* HelpManualMissing =
    "An unexpected error has occurred: Quarn! was unable to locate the Help Manual. Please "
    "re-install Quarn!";

std::string& HelpFile() {
    static std::string path;
    return path;
}

struct HelpFactsState {
    HelpFacts facts;
    bool gathered = false;
};

HelpFactsState& FactsState() {
    static HelpFactsState state;
    return state;
}

int& InitializeCount() {
    static int count = 0;
    return count;
}

bool IsFolder(const std::string& path) {
    struct stat st {};
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string FolderWithoutSlash(const std::string& path) {
    return StripTrailingChar(FolderPart(path), '/');
}

std::string RunFolderOf(const std::string& argument0) {
    if (argument0.empty()) {
        return {};
    }
    std::error_code error;
    const auto absolute = std::filesystem::absolute(argument0, error).lexically_normal();
    return error ? FolderWithoutSlash(argument0) : FolderWithoutSlash(absolute.string());
}

bool AsksForDebug(const std::vector<std::string>& arguments) {
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        const std::string argument = AsciiLower(arguments[i]);
        if (argument == "/debug" || argument == "-debug") {
            return true;
        }
    }
    return false;
}

std::string VersionText(const FileVersion& v) {
    char text[32];
    std::snprintf(text, sizeof text, "%d.%d.%d.%d", v.major, v.minor, v.release, v.build);
    return text;
}

// The renderer of the help pages is the Qt library the help control draws with.
FileVersionText RendererVersion() {
    unsigned major = 0, minor = 0, patch = 0;
    if (std::sscanf(qVersion(), "%u.%u.%u", &major, &minor, &patch) < 1) {
        return {};
    }
    const FileVersion version{static_cast<std::uint16_t>(major), static_cast<std::uint16_t>(minor),
                              static_cast<std::uint16_t>(patch), 0};
    return {version, VersionText(version)};
}

} // namespace

void SetApplicationHelpFile(const std::string& path) {
    HelpFile() = path;
}

const std::string& ApplicationHelpFile() {
    return HelpFile();
}

bool ShowHelpTopic(const std::string& topic) {
    std::string location = ApplicationHelpFile();
    if (!topic.empty()) {
        location += "::/" + topic + ".htm";
    }
    if (HtmlHelp(0, location.c_str(), HH_DISPLAY_TOPIC, 0) != 0) {
        return true;
    }
    Messages().Show(MessageKind::Error, HelpManualMissing, MessageButtons::Ok);
    return false;
}

void CloseAllHelpWindows() {
    if (!HtmlHelpBound()) {
        return;
    }
    HtmlHelp(0, nullptr, HH_CLOSE_ALL, 0);
    std::this_thread::yield();
}

void InitializeHelp(int argc, char** argv) {
    if (InitializeCount()++ > 0) {
        return;
    }
    BindHtmlHelp();
    GatherHelpFacts(ProgramFilePath(), std::vector<std::string>(argv, argv + argc));
}

void FinalizeHelp() {
    if (InitializeCount() == 0 || --InitializeCount() > 0) {
        return;
    }
    ClearHelpFacts();
    ReleaseHtmlHelp();
}

const HelpFacts& HelpStartupFacts() {
    return FactsState().facts;
}

bool HelpFactsGathered() {
    return FactsState().gathered;
}

void GatherHelpFacts(const std::string& modulePath, const std::vector<std::string>& arguments) {
    HelpFacts facts;
    facts.modulePath = modulePath;
    facts.moduleName = NamePart(modulePath);
    facts.moduleFolder = FolderWithoutSlash(modulePath);
    facts.runFolder = RunFolderOf(arguments.empty() ? std::string() : arguments[0]);
    facts.arguments = arguments;
    facts.reportFolder =
        IsFolderWritable(facts.moduleFolder) ? facts.moduleFolder : GetTempFolder();
    facts.debugMode = IsRegularFile(facts.moduleFolder + "/debug.debug") || AsksForDebug(arguments);

    const FileVersionText control = GetFileVersionText(FindHtmlHelpControl());
    facts.hhInstalled = !control.text.empty();
    facts.hhVersionText = control.text;
    facts.hhFriendlyVersionText = HtmlHelpFriendlyName(control);

    const FileVersionText renderer = AdjustBrowserVersion(RendererVersion());
    facts.ieInstalled = !renderer.text.empty();
    facts.ieVersionText = renderer.text;
    facts.ieFriendlyVersionText = BrowserFriendlyName(renderer);

    FactsState() = {std::move(facts), true};
    WriteDebugReport();
}

void ClearHelpFacts() {
    FactsState() = {};
}

std::string StripTrailingChar(const std::string& text, char c) {
    const std::size_t end = text.find_last_not_of(c);
    return end == std::string::npos ? std::string() : text.substr(0, end + 1);
}

std::string RepeatChar(char c, std::size_t count) {
    return std::string(count, c);
}

std::string YesNoText(bool value) {
    return value ? "YES" : "NO";
}

std::string GetSystemFolder() {
    return StripTrailingChar(QLibraryInfo::path(QLibraryInfo::LibrariesPath).toStdString(), '/');
}

std::string GetTempFolder() {
    const char* variable = std::getenv("TMPDIR");
    const std::string temp = variable != nullptr && *variable != '\0' ? variable : "/tmp";
    return StripTrailingChar(IsFolder(temp) ? temp : "/", '/');
}

FileVersionText GetFileVersionText(const std::string& path) {
    if (!IsRegularFile(path)) {
        return {};
    }
    const auto info = ReadFixedFileInfo(path);
    if (!info) {
        return {};
    }
    const FileVersion version{static_cast<std::uint16_t>(info->fileVersionMS >> 16),
                              static_cast<std::uint16_t>(info->fileVersionMS & 0xFFFF),
                              static_cast<std::uint16_t>(info->fileVersionLS >> 16),
                              static_cast<std::uint16_t>(info->fileVersionLS & 0xFFFF)};
    return {version, VersionText(version)};
}

FileVersionText AdjustBrowserVersion(FileVersionText version) {
    FileVersion& v = version.version;
    if (!version.text.empty() && v.major == 4 && v.minor <= 70 && v.release == 0) {
        v.release = v.build;
        v.build = 0;
        version.text = VersionText(v);
    }
    return version;
}

int CompareVersions(const FileVersion& a, const FileVersion& b) {
    const std::uint16_t left[] = {a.major, a.minor, a.release, a.build};
    const std::uint16_t right[] = {b.major, b.minor, b.release, b.build};
    for (int i = 0; i < 4; ++i) {
        if (left[i] != right[i]) {
            return left[i] > right[i] ? 1 : -1;
        }
    }
    return 0;
}

bool IsFolderWritable(const std::string& folder) {
    const std::string path = folder + "/$_Temp_$.$$$";
    UniqueFd file(open(path.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_NOFOLLOW | O_CLOEXEC, 0600));
    if (!file) {
        return false;
    }
    file.Close();
    (void)RemoveFile(path);
    return true;
}

} // namespace quarn
