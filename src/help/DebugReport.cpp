// The optional start-up report "HHDebug.txt" of the help helpers.
#include "help/HelpFuncs.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"

#include <QLocale>
#include <cstdarg>
#include <cstdio>
#include <ctime>
#include <fcntl.h>
#include <sys/utsname.h>
#include <unistd.h>

namespace quarn {

namespace {

constexpr std::size_t RuleWidth = 80;

std::string ReportPath() {
    return HelpStartupFacts().reportFolder + "/HHDebug.txt";
}

std::string LocalTime(const char* format) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char text[64];
    return std::strftime(text, sizeof text, format, &local) > 0 ? text : "";
}

std::string Formatted(const char* format, std::va_list arguments) {
    std::va_list copy;
    va_copy(copy, arguments);
    const int length = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::vsnprintf(text.data(), text.size(), format, arguments);
    text.pop_back();
    return text;
}

// The kernel's name and the first three numbers of its release ("Linux" and 6.1.0).
struct SystemVersion {
    std::string name;
    int major = 0, minor = 0, build = 0;
};

SystemVersion ReadSystemVersion() {
    utsname names{};
    SystemVersion version;
    if (uname(&names) == 0) {
        version.name = names.sysname;
        std::sscanf(names.release, "%d.%d.%d", &version.major, &version.minor, &version.build);
    }
    return version;
}

std::string Joined(const std::vector<std::string>& arguments) {
    std::string text;
    for (std::size_t i = 1; i < arguments.size(); ++i) {
        text += (i > 1 ? " | " : "") + arguments[i];
    }
    return text;
}

} // namespace

void WriteDebugLine(const char* format, ...) {
    if (!HelpFactsGathered()) {
        return; // no report folder yet
    }
    std::va_list arguments;
    va_start(arguments, format);
    std::string line = Formatted(format, arguments);
    va_end(arguments);
    if (line == "-" || line == "=") {
        line = RepeatChar(line[0], RuleWidth);
    }
    if (!line.empty() && (line[0] == '!' || line[0] == '-' || line[0] == '=')) {
        line.erase(0, 1);
    } else {
        line += "   " + LocalTime("%H:%M:%S");
    }
    line += '\n';
    // The report may lie in the shared temp folder: never follow a link planted there.
    UniqueFd file(
        open(ReportPath().c_str(), O_WRONLY | O_APPEND | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644));
    if (file) {
        WriteAll(file.Get(), line.data(), line.size());
    }
}

void WriteDebugReport() {
    if (!HelpFactsGathered()) {
        return;
    }
    (void)RemoveFile(ReportPath());
    const HelpFacts& facts = HelpStartupFacts();
    if (!facts.debugMode) {
        return;
    }
    const SystemVersion system = ReadSystemVersion();
    const QLocale locale = QLocale::system();
    const std::string localeName = locale.name().toStdString();
    const std::string language = QLocale::languageToCode(locale.language()).toStdString();
    const std::string territory = QLocale::territoryToCode(locale.territory()).toStdString();
    const std::string decimal = QString(locale.decimalPoint()).toStdString();
    const std::string argument0 = facts.arguments.empty() ? "" : facts.arguments[0];

    WriteDebugLine("!Filename:             \t%s", ReportPath().c_str());
    WriteDebugLine("!Date:                 \t%s", LocalTime("%Y-%m-%d %H:%M:%S").c_str());
    WriteDebugLine("!Operating System:      \t%s %d.%d.%d", system.name.c_str(), system.major,
                   system.minor, system.build);
    WriteDebugLine("!SysLocale.DefaultLCID: \t%s", localeName.c_str());
    WriteDebugLine("!SysLocale.PriLangID:   \t%s", language.c_str());
    WriteDebugLine("!SysLocale.SubLangID:   \t%s", territory.c_str());
    WriteDebugLine("!DecimalSeparator:      \t%s", decimal.c_str());
    WriteDebugLine("-");
    WriteDebugLine("!EXE Path =          \t%s", argument0.c_str());
    WriteDebugLine("!Cmdline Param(s) =  \t%s", Joined(facts.arguments).c_str());
    WriteDebugLine("!_RunDir =           \t%s", facts.runFolder.c_str());
    WriteDebugLine("!_ModuleName =       \t%s", facts.moduleName.c_str());
    WriteDebugLine("!_ModuleDir =        \t%s", facts.moduleFolder.c_str());
    WriteDebugLine("-");
    WriteDebugLine("!_hhInstalled =      \t%s", YesNoText(facts.hhInstalled).c_str());
    WriteDebugLine("!_hhVerStr =         \t%s", facts.hhVersionText.c_str());
    WriteDebugLine("!_hhFriendlyVerStr = \t%s", facts.hhFriendlyVersionText.c_str());
    WriteDebugLine("-");
    WriteDebugLine("!_ieInstalled =      \t%s", YesNoText(facts.ieInstalled).c_str());
    WriteDebugLine("!_ieVerStr =         \t%s", facts.ieVersionText.c_str());
    WriteDebugLine("!_ieFriendlyVerStr = \t%s", facts.ieFriendlyVersionText.c_str());
    WriteDebugLine("=");
}

} // namespace quarn
