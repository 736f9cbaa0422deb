#include "shell/dragdrop/DropOperation.h"

#include "namespace/UserFolders.h"
#include "platform/EntryLink.h"
#include "platform/FileTransfer.h"
#include "platform/PosixFile.h"
#include "platform/RealPaths.h"

#include <sys/stat.h>

namespace quarn {

namespace {

std::optional<dev_t> DeviceOf(const std::string& path) {
    struct stat info {};
    if (::lstat(path.c_str(), &info) != 0) {
        return std::nullopt;
    }
    return info.st_dev;
}

DWORD FirstAllowed(DWORD allowed) {
    for (const DWORD effect : {DROPEFFECT_COPY, DROPEFFECT_MOVE, DROPEFFECT_LINK}) {
        if (allowed & effect) {
            return effect;
        }
    }
    return DROPEFFECT_NONE;
}

bool StaysInItsFolder(const std::string& item, const std::string& folder) {
    const auto itemFolder = RealPath(FolderPart(item));
    const auto target = RealPath(folder);
    return itemFolder && target && *itemFolder == *target;
}

FileOperationResult Transfer(const std::string& item, const std::string& target, DWORD effect) {
    switch (effect) {
    case DROPEFFECT_COPY:
        return CopyEntry(item, target);
    case DROPEFFECT_MOVE:
        return MoveEntry(item, target);
    default:
        return LinkEntry(item, target);
    }
}

} // namespace

DWORD ChooseDropEffect(DWORD keyState, DWORD allowed, bool sameFileSystem) {
    const bool control = keyState & MK_CONTROL;
    const bool shift = keyState & MK_SHIFT;
    if (control || shift) {
        const DWORD asked = control && shift ? DROPEFFECT_LINK
                            : control        ? DROPEFFECT_COPY
                                             : DROPEFFECT_MOVE;
        return allowed & asked;
    }
    const DWORD preferred = sameFileSystem ? DROPEFFECT_MOVE : DROPEFFECT_COPY;
    return (allowed & preferred) ? preferred : FirstAllowed(allowed);
}

bool OnFileSystemOf(const std::string& folder, const std::vector<std::string>& items) {
    const auto device = DeviceOf(folder);
    for (const std::string& item : items) {
        if (!device || DeviceOf(item) != device) {
            return false;
        }
    }
    return true;
}

DropResult DropOnFolder(const std::string& folder, const std::vector<std::string>& items,
                        DWORD effect, const DropRefusalHandler& refused) {
    DropResult result;
    if (effect != DROPEFFECT_COPY && effect != DROPEFFECT_MOVE && effect != DROPEFFECT_LINK) {
        return result;
    }
    for (std::size_t i = 0; i < items.size(); ++i) {
        const std::string item = WithoutTrailingSlash(items[i]);
        if (effect == DROPEFFECT_MOVE && StaysInItsFolder(item, folder)) {
            continue;
        }
        auto outcome = Transfer(item, JoinPath(folder, NamePart(item)), effect);
        if (outcome.Done()) {
            result.effect = effect;
            continue;
        }
        result.failures.push_back(std::move(outcome));
        if (!refused(result.failures.back(), i + 1 < items.size())) {
            break;
        }
    }
    return result;
}

} // namespace quarn
