#pragma once

#include "namespace/ShellConstants.h"

#include <string>
#include <string_view>
#include <vector>

namespace quarn {

struct Volume {
    std::string mountPoint;
    std::string fileSystem;
    DriveType driveType = DriveType::Fixed;
};

// The volumes of the mount table ($QUARN_MOUNTINFO, else /proc/self/mountinfo): pseudo file
// systems and system mounts left out, "/" always first. No mount point is touched.
std::vector<Volume> ParseMountInfo(std::string_view text);

// The process-wide table, read on first use and again on Reload.
class MountTable {
public:
    static std::vector<Volume> Volumes();
    static void Reload();
    // The volume whose mount point is the longest prefix of an absolute path.
    static Volume VolumeOf(std::string_view path);
};

// The drive type of the volume that holds path; NoRootDir for a path that is not absolute.
DriveType GetDriveType(std::string_view path);

// path lies at or below folder (both absolute, without trailing "/" except the root).
bool IsPathWithin(std::string_view path, std::string_view folder);

} // namespace quarn
