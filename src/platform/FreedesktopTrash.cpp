#include "platform/FreedesktopTrash.h"

#include "platform/PercentEncoding.h"
#include "platform/PosixFile.h"
#include "platform/RealPaths.h"
#include "platform/SafeFile.h"
#include "platform/StagedFile.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <ctime>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn {

namespace {

constexpr char InfoSuffix[] = ".trashinfo";
constexpr mode_t PrivateFolder = S_IRWXU;

// Where an entry goes: a trash folder and, for a volume's own trash, the volume's top folder
// that the info file's path is relative to ("" for the home trash: absolute paths).
struct TrashPlace {
    std::string folder;
    std::string top;
    std::string fault; // why there is none; empty when the folder can be used
    int error = 0;
};

TrashPlace NoPlace(std::string fault, int error = 0) {
    return {{}, {}, std::move(fault), error};
}

std::string ParentOf(const std::string& path) {
    std::string parent = FolderPart(path);
    if (parent.size() > 1) {
        parent.pop_back();
    }
    return parent;
}

// Makes the folder and any missing folders above it, private to the user; answers errno.
int MakeFolders(const std::string& path) {
    if (::mkdir(path.c_str(), PrivateFolder) == 0) {
        return 0;
    }
    if (errno == EEXIST) {
        struct stat info {};
        return ::stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode) ? 0 : ENOTDIR;
    }
    const std::string parent = ParentOf(path);
    if (errno != ENOENT || parent.empty() || parent == path) {
        return errno;
    }
    if (const int error = MakeFolders(parent)) {
        return error;
    }
    return ::mkdir(path.c_str(), PrivateFolder) == 0 || errno == EEXIST ? 0 : errno;
}

// The trash folder's files/ and info/; answers errno.
int MakeTrashFolders(const std::string& trash) {
    const int error = MakeFolders(trash + "/files");
    return error != 0 ? error : MakeFolders(trash + "/info");
}

// The highest folder above folder (resolved) that is still on device: the volume's top.
std::string VolumeTop(std::string folder, dev_t device) {
    while (folder != "/") {
        const std::string parent = ParentOf(folder);
        struct stat info {};
        if (::stat(parent.c_str(), &info) != 0 || info.st_dev != device) {
            break;
        }
        folder = parent;
    }
    return folder;
}

// The volume's ".Trash-<uid>": a real folder of this user's, never one reached by a link.
TrashPlace VolumeTrash(const std::string& folder, dev_t device) {
    const std::string top = VolumeTop(folder, device);
    const std::string trash = (top == "/" ? "" : top) + "/.Trash-" + std::to_string(::geteuid());
    if (::mkdir(trash.c_str(), PrivateFolder) != 0 && errno != EEXIST) {
        const int error = errno;
        return NoPlace("The volume has no trash folder, and " + QuotedName(trash) +
                           " cannot be made: " + ErrnoText(error) + ".",
                       error);
    }
    struct stat info {};
    if (::lstat(trash.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
        info.st_uid != ::geteuid()) {
        return NoPlace(QuotedName(trash) + " is not a trash folder of this user's.");
    }
    if (const int error = MakeTrashFolders(trash)) {
        return NoPlace(QuotedName(trash) + ": " + ErrnoText(error) + ".", error);
    }
    return {trash, top, {}, 0};
}

// The home trash for entries of its own file system, else the volume's.
TrashPlace ChooseTrash(const std::string& homeTrash, const std::string& folder, dev_t device) {
    if (const int error = MakeTrashFolders(homeTrash)) {
        return NoPlace("The trash folder " + QuotedName(homeTrash) +
                           " cannot be made: " + ErrnoText(error) + ".",
                       error);
    }
    struct stat info {};
    if (::stat((homeTrash + "/files").c_str(), &info) == 0 && info.st_dev == device) {
        return {homeTrash, {}, {}, 0};
    }
    return VolumeTrash(folder, device);
}

// Short enough that the name and its ".trashinfo" fit in 255 bytes, cut between characters.
std::string TrashName(const std::string& name, int number) {
    const std::string suffix = number == 1 ? "" : "." + std::to_string(number);
    std::size_t keep = std::min(name.size(), NAME_MAX - (sizeof InfoSuffix - 1) - suffix.size());
    while (keep > 0 && keep < name.size() &&
           (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) {
        --keep;
    }
    return name.substr(0, keep) + suffix;
}

std::string DeletionDate() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    ::localtime_r(&now, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S", &local);
    return text;
}

std::string InfoText(const std::string& originalPath) {
    return "[Trash Info]\nPath=" + PercentEncodePath(originalPath) +
           "\nDeletionDate=" + DeletionDate() + "\n";
}

// A volume trash keeps paths relative to the volume's top, so they hold wherever it is mounted.
std::string RelativeTo(const std::string& top, const std::string& path) {
    return path.substr(top == "/" ? 1 : top.size() + 1);
}

// The info file, complete, under a name nobody holds: NameTaken when it is taken.
FileOperationResult ClaimInfo(const std::string& infoPath, const std::string& text) {
    StagedFile info;
    FileOperationResult result = info.Open(infoPath, S_IRUSR | S_IWUSR);
    if (result.Done()) {
        result = info.Write(text.data(), text.size());
    }
    return result.Done() ? info.Commit() : result;
}

} // namespace

FileOperationResult TrashEntry(const std::string& path, const std::string& homeTrash) {
    const std::string prefix = "Unable to move " + QuotedName(path) + " to the trash: ";
    const auto folder = RealPath(FolderPart(path));
    struct stat entry {};
    struct stat holder {};
    if (::lstat(path.c_str(), &entry) != 0 || !folder || ::stat(folder->c_str(), &holder) != 0) {
        const int error = errno;
        return Refusal(FileOutcome::Failed, prefix + ErrnoText(error) + ".", error);
    }
    const TrashPlace place = ChooseTrash(homeTrash, *folder, holder.st_dev);
    if (!place.fault.empty()) {
        return Refusal(FileOutcome::NoTrash, prefix + place.fault, place.error);
    }
    if (S_ISDIR(entry.st_mode) && FolderLiesWithin(place.folder, path)) {
        return Refusal(FileOutcome::IntoItself, prefix + "The trash folder lies inside it.");
    }
    const std::string name = NamePart(path);
    const std::string original = (*folder == "/" ? "" : *folder) + "/" + name;
    const std::string text =
        InfoText(place.top.empty() ? original : RelativeTo(place.top, original));
    for (int number = 1;; ++number) {
        const std::string trashName = TrashName(name, number);
        const std::string info = place.folder + "/info/" + trashName + InfoSuffix;
        const FileOperationResult claimed = ClaimInfo(info, text);
        if (claimed.outcome == FileOutcome::NameTaken) {
            continue;
        }
        if (!claimed.Done()) {
            return Refusal(FileOutcome::Failed,
                           prefix + QuotedName(info) + ": " + ErrnoText(claimed.error) + ".",
                           claimed.error);
        }
        const FileOperationResult moved =
            RenameNoReplace(path, place.folder + "/files/" + trashName);
        if (moved.Done()) {
            return {};
        }
        (void)RemoveFile(info);
        if (moved.outcome != FileOutcome::NameTaken) {
            return Refusal(FileOutcome::Failed, prefix + ErrnoText(moved.error) + ".", moved.error);
        }
    }
}

} // namespace quarn
