#include "namespace/FileVerbs.h"

#include "namespace/DesktopServices.h"
#include "namespace/RefusalMessage.h"
#include "namespace/UserFolders.h"
#include "platform/FileTransfer.h"
#include "platform/FreedesktopTrash.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"

namespace quarn {

namespace {

void ShowFailure(const std::string& message) {
    Messages().Show(MessageKind::Error, message, MessageButtons::Ok);
}

// Shows the failure; true when the entry was done.
bool Reported(const FileOperationResult& result) {
    if (!result.Done()) {
        ShowFailure(result.message);
    }
    return result.Done();
}

} // namespace

void OpenEntries(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        InstalledDesktop().OpenPath(path, [path] {
            ShowFailure("Unable to open " + QuotedName(path) +
                        ": No application could be started for it.");
        });
    }
}

void PutEntriesOnClipboard(const std::vector<std::string>& paths, bool cut) {
    InstalledDesktop().SetClipboard(FileClipboardData({paths, cut}));
}

bool ClipboardHoldsEntries() {
    return !ReadClipboardFiles(InstalledDesktop().Clipboard()).paths.empty();
}

void PasteIntoFolder(const std::string& folder) {
    const ClipboardFiles files = ReadClipboardFiles(InstalledDesktop().Clipboard());
    bool allDone = true;
    for (std::size_t i = 0; i < files.paths.size(); ++i) {
        const std::string& source = files.paths[i];
        const std::string target = JoinPath(folder, NamePart(WithoutTrailingSlash(source)));
        const auto result = files.cut ? MoveEntry(source, target) : CopyEntry(source, target);
        if (result.Done()) {
            continue;
        }
        allDone = false;
        if (!ShowRefusal(result.message, i + 1 < files.paths.size())) {
            break;
        }
    }
    if (files.cut && allDone && !files.paths.empty()) {
        InstalledDesktop().SetClipboard({});
    }
}

void TrashEntries(const std::vector<std::string>& paths) {
    for (const std::string& path : paths) {
        Reported(TrashEntry(path, TrashPath()));
    }
}

} // namespace quarn
