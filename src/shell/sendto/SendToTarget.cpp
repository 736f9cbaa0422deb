#include "shell/sendto/SendToTarget.h"

#include "platform/DetachedProcess.h"
#include "platform/FileOperationResult.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "shell/dragdrop/DropOperation.h"
#include "shell/dragdrop/FolderDropTarget.h"
#include "shell/sendto/SendToDesktopEntry.h"

#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace quarn {

namespace {

constexpr std::string_view DesktopEntrySuffix = ".desktop";

void ShowFailure(const std::string& message) {
    Messages().Show(MessageKind::Error, message, MessageButtons::Ok);
}

std::string Refusal(const std::string& entryPath, const std::string& reason) {
    return "Unable to send to " + QuotedName(NamePart(entryPath)) + ": " + reason;
}

bool LeadsToFolder(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 && S_ISDIR(status.st_mode);
}

bool IsDesktopEntry(const std::string& path) {
    return path.size() > DesktopEntrySuffix.size() && path.ends_with(DesktopEntrySuffix) &&
           IsRegularFile(path);
}

void CopyInto(const std::string& folder, const std::vector<std::string>& files) {
    DropOnFolder(folder, files, DROPEFFECT_COPY, ShowDropRefusal);
}

void StartProgram(const std::string& entryPath, const std::vector<std::string>& files) {
    std::ifstream stream(entryPath, std::ios::binary);
    std::ostringstream text;
    text << stream.rdbuf();
    if (!stream) {
        ShowFailure(Refusal(entryPath, "the desktop entry cannot be read."));
        return;
    }
    const DesktopEntry entry = ParseDesktopEntry(text.str());
    const std::vector<CommandLine> lines = entry.type == "Application"
                                               ? ExpandExecLine(entry, entryPath, files)
                                               : std::vector<CommandLine>();
    if (lines.empty()) {
        ShowFailure(Refusal(entryPath, "the desktop entry names no program to start."));
        return;
    }
    for (const CommandLine& line : lines) {
        const std::string failure =
            StartDetached(line.front(), CommandLine(line.begin() + 1, line.end()), entry.path);
        if (!failure.empty()) {
            ShowFailure(
                Refusal(entryPath, QuotedName(line.front()) + " cannot be started: " + failure));
        }
    }
}

} // namespace

void SendFilesTo(const std::string& entryPath, const std::vector<std::string>& files) {
    if (LeadsToFolder(entryPath)) {
        CopyInto(entryPath, files);
    } else if (IsDesktopEntry(entryPath)) {
        StartProgram(entryPath, files);
    } else {
        ShowFailure(Refusal(entryPath, "it is neither a folder nor a desktop entry."));
    }
}

} // namespace quarn
