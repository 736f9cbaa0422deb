#include "namespace/MountTable.h"

#include "platform/SplitText.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <fstream>
#include <mutex>
#include <sstream>

namespace quarn {

namespace {

// "\040" and the like in mountinfo fields.
std::string Unescape(std::string_view field) {
    std::string text;
    for (std::size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() &&
            std::all_of(field.begin() + i + 1, field.begin() + i + 4,
                        [](char c) { return c >= '0' && c <= '7'; })) {
            text.push_back(static_cast<char>(((field[i + 1] - '0') << 6) |
                                             ((field[i + 2] - '0') << 3) | (field[i + 3] - '0')));
            i += 3;
        } else {
            text.push_back(field[i]);
        }
    }
    return text;
}

bool IsOneOf(std::string_view value, std::initializer_list<std::string_view> values) {
    return std::find(values.begin(), values.end(), value) != values.end();
}

bool IsPseudoFileSystem(std::string_view fileSystem) {
    return IsOneOf(fileSystem,
                   {"proc",        "sysfs",      "devtmpfs",        "devpts",     "cgroup",
                    "cgroup2",     "securityfs", "debugfs",         "tracefs",    "configfs",
                    "fusectl",     "mqueue",     "hugetlbfs",       "pstore",     "bpf",
                    "binfmt_misc", "autofs",     "efivarfs",        "rpc_pipefs", "nsfs",
                    "ramfs",       "selinuxfs",  "fuse.gvfsd-fuse", "fuse.portal"});
}

// Mounts the system keeps for itself: the kernel's and the runtime folders.
bool IsSystemMount(std::string_view mountPoint) {
    for (std::string_view folder : {"/proc", "/sys", "/dev", "/run", "/boot/efi"}) {
        if (IsPathWithin(mountPoint, folder) && !IsPathWithin(mountPoint, "/run/media")) {
            return true;
        }
    }
    return false;
}

bool IsNetworkMount(std::string_view fileSystem, std::string_view source) {
    return IsOneOf(fileSystem,
                   {"nfs", "nfs4", "cifs", "smb3", "smbfs", "ncpfs", "afs", "ceph", "glusterfs",
                    "9p", "davfs", "fuse.sshfs", "fuse.rclone", "fuse.davfs2", "fuse.s3fs"}) ||
           source.starts_with("//") || source.find(":/") != std::string_view::npos;
}

// The kernel's removable flag of the block device (its disk's, for a partition).
bool IsRemovableDevice(std::string_view majorMinor) {
    const std::string device = "/sys/dev/block/" + std::string(majorMinor);
    for (const char* file : {"/removable", "/../removable"}) {
        std::ifstream in(device + file);
        char flag = 0;
        if (in >> flag) {
            return flag == '1';
        }
    }
    return false;
}

DriveType ClassifyDrive(std::string_view mountPoint, std::string_view fileSystem,
                        std::string_view source, std::string_view majorMinor) {
    if (IsNetworkMount(fileSystem, source)) {
        return DriveType::Remote;
    }
    if (fileSystem == "tmpfs") {
        return DriveType::RamDisk;
    }
    if (fileSystem == "iso9660" || fileSystem == "udf") {
        return DriveType::CdRom;
    }
    if (IsPathWithin(mountPoint, "/media") || IsPathWithin(mountPoint, "/run/media") ||
        IsRemovableDevice(majorMinor)) {
        return DriveType::Removable;
    }
    return DriveType::Fixed;
}

std::string ReadMountInfo() {
    const char* override = std::getenv("QUARN_MOUNTINFO");
    std::ifstream in(override && *override ? override : "/proc/self/mountinfo");
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

struct TableState {
    std::mutex lock;
    bool loaded = false;
    std::vector<Volume> volumes;
};

TableState& State() {
    static TableState state;
    return state;
}

} // namespace

bool IsPathWithin(std::string_view path, std::string_view folder) {
    if (folder == "/") {
        return path.starts_with('/');
    }
    return path.starts_with(folder) && (path.size() == folder.size() || path[folder.size()] == '/');
}

std::vector<Volume> ParseMountInfo(std::string_view text) {
    std::vector<Volume> volumes;
    for (const std::string_view line : SplitSkippingEmpty(text, '\n')) {
        const auto fields = SplitSkippingEmpty(line, ' ');
        const auto dash = std::find(fields.begin(), fields.end(), "-");
        if (fields.size() < 5 || dash == fields.end() || fields.end() - dash < 3) {
            continue;
        }
        Volume volume{Unescape(fields[4]), std::string(dash[1])};
        const std::string source = Unescape(dash[2]);
        const bool root = volume.mountPoint == "/";
        if (!volume.mountPoint.starts_with('/') ||
            (!root &&
             (IsPseudoFileSystem(volume.fileSystem) || IsSystemMount(volume.mountPoint)))) {
            continue;
        }
        volume.driveType =
            root ? DriveType::Fixed
                 : ClassifyDrive(volume.mountPoint, volume.fileSystem, source, fields[2]);
        // A later mount on the same point hides the earlier one.
        std::erase_if(volumes, [&](const Volume& v) { return v.mountPoint == volume.mountPoint; });
        volumes.push_back(std::move(volume));
    }
    const auto root = std::find_if(volumes.begin(), volumes.end(),
                                   [](const Volume& v) { return v.mountPoint == "/"; });
    if (root == volumes.end()) {
        volumes.insert(volumes.begin(), Volume{"/", "", DriveType::Fixed});
    } else {
        std::rotate(volumes.begin(), root, root + 1);
    }
    return volumes;
}

std::vector<Volume> MountTable::Volumes() {
    auto& state = State();
    std::lock_guard guard(state.lock);
    if (!state.loaded) {
        state.volumes = ParseMountInfo(ReadMountInfo());
        state.loaded = true;
    }
    return state.volumes;
}

void MountTable::Reload() {
    auto volumes = ParseMountInfo(ReadMountInfo());
    auto& state = State();
    std::lock_guard guard(state.lock);
    state.volumes = std::move(volumes);
    state.loaded = true;
}

Volume MountTable::VolumeOf(std::string_view path) {
    Volume best{"/", "", DriveType::Fixed};
    for (auto& volume : Volumes()) {
        if (IsPathWithin(path, volume.mountPoint) &&
            volume.mountPoint.size() >= best.mountPoint.size()) {
            best = volume;
        }
    }
    return best;
}

DriveType GetDriveType(std::string_view path) {
    if (!path.starts_with('/')) {
        return DriveType::NoRootDir;
    }
    return MountTable::VolumeOf(path).driveType;
}

} // namespace quarn
