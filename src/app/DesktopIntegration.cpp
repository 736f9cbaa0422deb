#include "app/DesktopIntegration.h"

#include "platform/AsciiText.h"
#include "platform/StagedFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <cstdlib>
#include <string_view>

namespace quarn {

namespace {
constexpr int ToolTimeoutMs = 10000;
constexpr mode_t DesktopFileMode = 0644; // read by the desktop's tools and file managers

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

std::string DataHome() {
    const std::string chosen = Environment("XDG_DATA_HOME");
    if (!chosen.empty() && chosen.front() == '/') {
        return chosen;
    }
    const std::string home = Environment("HOME");
    return home.empty() ? std::string() : home + "/.local/share";
}

// Lower-case letters and digits, every other run of bytes one "-".
std::string Slug(const std::string& text) {
    std::string slug;
    for (const char c : AsciiLower(text)) {
        if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9')) {
            slug += c;
        } else if (!slug.empty() && slug.back() != '-') {
            slug += '-';
        }
    }
    while (!slug.empty() && slug.back() == '-') {
        slug.pop_back();
    }
    return slug;
}

std::string XmlEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// The escapes of a desktop entry's string values.
std::string KeyFileEscaped(const std::string& text) {
    std::string out;
    for (const char c : text) {
        switch (c) {
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        default:
            out += c;
        }
    }
    return out;
}

// One argument of an Exec value, before the value's own escapes: quoted only where the
// format requires it.
std::string DesktopExecArgument(const std::string& argument) {
    constexpr std::string_view Reserved = " \t\n\"'\\><~|&;$*?#()`";
    const bool quoted = argument.empty() || argument.find_first_of(Reserved) != std::string::npos;
    std::string out = quoted ? "\"" : "";
    for (const char c : argument) {
        if (quoted && (c == '"' || c == '`' || c == '$' || c == '\\')) {
            out += '\\';
        }
        out += c == '%' ? std::string("%%") : std::string(1, c);
    }
    return quoted ? out + '"' : out;
}

std::string MimePackage(const DesktopFileType& type) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
           "<mime-info xmlns=\"http://www.freedesktop.org/standards/shared-mime-info\">\n"
           "  <mime-type type=\"" +
           DesktopMimeType(type) + "\">\n    <comment>" + XmlEscaped(type.Description) +
           "</comment>\n    <icon name=\"" + DesktopName(type) + "\"/>\n    <glob pattern=\"" +
           XmlEscaped("*" + type.Extension) + "\"/>\n  </mime-type>\n</mime-info>\n";
}

std::string DesktopEntry(const DesktopFileType& type) {
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=" +
           KeyFileEscaped(type.ProgID) + "\nTryExec=" + KeyFileEscaped(type.ProgramPath) +
           "\nExec=" + DesktopExecLine(type.ProgramPath) + "\nIcon=" + DesktopName(type) +
           "\nMimeType=" + DesktopMimeType(type) + ";\nTerminal=false\nCategories=Utility;\n";
}

QString Path(const std::string& path) {
    return QFile::decodeName(QByteArray::fromStdString(path));
}

// Replaces the file atomically unless it already holds text; says whether it wrote.
bool WriteIfChanged(const std::string& path, const std::string& text) {
    QFile current(Path(path));
    if (current.open(QIODevice::ReadOnly) && current.readAll().toStdString() == text) {
        return false;
    }
    current.close();
    if (!QDir().mkpath(QFileInfo(current).absolutePath())) {
        return false;
    }
    StagedFile file;
    return file.Open(path, DesktopFileMode).Done() && file.Write(text.data(), text.size()).Done() &&
           file.CommitReplacing().Done();
}

// Runs an installed freedesktop tool with its output discarded; a missing or failing tool
// changes nothing for the caller.
void RunTool(const QString& tool, const std::string& folder) {
    const QString program = QStandardPaths::findExecutable(tool);
    if (program.isEmpty()) {
        return;
    }
    QProcess process;
    process.setStandardInputFile(QProcess::nullDevice());
    process.setStandardOutputFile(QProcess::nullDevice());
    process.setStandardErrorFile(QProcess::nullDevice());
    process.start(program, {Path(folder)});
    if (process.waitForStarted(ToolTimeoutMs) && !process.waitForFinished(ToolTimeoutMs)) {
        process.kill();
        process.waitForFinished(ToolTimeoutMs);
    }
}

void Refresh(bool changed, const std::string& folder, const char* cache, const QString& tool) {
    if (changed || !QFile::exists(Path(folder + "/" + cache))) {
        RunTool(tool, folder);
    }
}
} // namespace

std::string DesktopMimeType(const DesktopFileType& type) {
    return "application/x-" + DesktopName(type) + "-" + Slug(type.Extension);
}

std::string DesktopName(const DesktopFileType& type) {
    return Slug(type.ProgID);
}

std::string DesktopExecLine(const std::string& programPath) {
    return KeyFileEscaped(DesktopExecArgument(programPath) + " %f");
}

void PublishFileType(const DesktopFileType& type) {
    const std::string data = DataHome();
    if (data.empty()) {
        return;
    }
    const std::string mime = data + "/mime";
    const std::string applications = data + "/applications";
    const bool packageChanged = WriteIfChanged(mime + "/packages/" + DesktopName(type) + "-" +
                                                   Slug(type.Extension) + ".xml",
                                               MimePackage(type));
    const bool entryChanged =
        WriteIfChanged(applications + "/" + DesktopName(type) + ".desktop", DesktopEntry(type));
    Refresh(packageChanged, mime, "mime.cache", "update-mime-database");
    Refresh(entryChanged, applications, "mimeinfo.cache", "update-desktop-database");
}

} // namespace quarn
