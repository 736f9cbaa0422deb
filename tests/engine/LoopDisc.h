#pragma once

#include "TestFiles.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <fcntl.h>
#include <linux/fiemap.h>
#include <linux/fs.h>
#include <linux/loop.h>
#include <memory>
#include <spawn.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace quarn::test {

// A small ext4 file system in an image file in imageFolder, on a loop device, mounted on a
// fresh folder for the object's life. What reached the device is read back past every cache,
// so a test sees whether written data was really flushed. Mounted() is false where loop
// devices, mke2fs or mounting are not available.
class LoopDisc {
public:
    struct Extent {
        std::uint64_t physical;
        std::uint64_t length;
    };

    LoopDisc(const std::string& imageFolder, off_t imageBytes) : image_(imageFolder + "quarn.img") {
        mounted_ = MakeImage(imageBytes) && Attach() &&
                   ::mount(device_.c_str(), dir_.Path().c_str(), "ext4", 0, "") == 0;
    }
    ~LoopDisc() {
        if (mounted_) {
            ::umount2(dir_.Path().c_str(), MNT_DETACH);
        }
        if (loop_ >= 0) {
            ::ioctl(loop_, LOOP_CLR_FD, 0);
            ::close(loop_);
        }
        ::unlink(image_.c_str());
    }
    LoopDisc(const LoopDisc&) = delete;
    LoopDisc& operator=(const LoopDisc&) = delete;

    bool Mounted() const { return mounted_; }
    const TempDir& Dir() const { return dir_; }

    // Where the data of path lies on the device, after flushing it there.
    static std::vector<Extent> ExtentsOf(const std::string& path) {
        constexpr unsigned Count = 16;
        std::vector<char> space(sizeof(fiemap) + Count * sizeof(fiemap_extent));
        auto* map = reinterpret_cast<fiemap*>(space.data());
        map->fm_length = FIEMAP_MAX_OFFSET;
        map->fm_flags = FIEMAP_FLAG_SYNC;
        map->fm_extent_count = Count;
        std::vector<Extent> extents;
        const int fd = ::open(path.c_str(), O_RDONLY);
        if (fd >= 0 && ::ioctl(fd, FS_IOC_FIEMAP, map) == 0) {
            for (unsigned i = 0; i < map->fm_mapped_extents; ++i) {
                extents.push_back({map->fm_extents[i].fe_physical, map->fm_extents[i].fe_length});
            }
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return extents;
    }

    // The device's bytes at the extents, cut to size, read with O_DIRECT.
    std::string ReadDevice(const std::vector<Extent>& extents, std::size_t size) const {
        std::string bytes;
        const int fd = ::open(device_.c_str(), O_RDONLY | O_DIRECT);
        for (const Extent& extent : extents) {
            void* raw = nullptr;
            if (fd < 0 || ::posix_memalign(&raw, 4096, extent.length) != 0) {
                break;
            }
            std::unique_ptr<char, decltype(&std::free)> buffer(static_cast<char*>(raw), std::free);
            const ssize_t got = ::pread(fd, buffer.get(), extent.length, extent.physical);
            if (got != static_cast<ssize_t>(extent.length)) {
                break;
            }
            bytes.append(buffer.get(), extent.length);
        }
        if (fd >= 0) {
            ::close(fd);
        }
        return bytes.substr(0, size);
    }

private:
    bool MakeImage(off_t size) {
        const int fd = ::open(image_.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
        const bool sized = fd >= 0 && ::ftruncate(fd, size) == 0;
        if (fd >= 0) {
            ::close(fd);
        }
        return sized && Run({"mke2fs", "-q", "-F", "-t", "ext4", image_.c_str()});
    }

    static bool Run(std::vector<const char*> argv) {
        argv.push_back(nullptr);
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
        bool ok = false;
        for (const char* program : {"mke2fs", "/usr/sbin/mke2fs", "/sbin/mke2fs"}) {
            pid_t pid = 0;
            if (posix_spawnp(&pid, program, &actions, nullptr, const_cast<char**>(argv.data()),
                             environ) != 0) {
                continue;
            }
            int status = 0;
            ok = ::waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
            break;
        }
        posix_spawn_file_actions_destroy(&actions);
        return ok;
    }

    // Another test may take the same free device at once: then try the next one.
    bool Attach() {
        const int control = ::open("/dev/loop-control", O_RDWR | O_CLOEXEC);
        const int backing = ::open(image_.c_str(), O_RDWR | O_CLOEXEC);
        for (int attempt = 0; attempt < 20 && control >= 0 && backing >= 0 && loop_ < 0;
             ++attempt) {
            const int number = ::ioctl(control, LOOP_CTL_GET_FREE);
            if (number < 0) {
                break;
            }
            device_ = "/dev/loop" + std::to_string(number);
            loop_ = ::open(device_.c_str(), O_RDWR | O_CLOEXEC);
            if (loop_ >= 0 && ::ioctl(loop_, LOOP_SET_FD, backing) != 0) {
                ::close(loop_);
                loop_ = -1;
            }
        }
        if (loop_ >= 0) {
            // Freed by the kernel once unmounted and closed, also if the test dies.
            loop_info64 info{};
            info.lo_flags = LO_FLAGS_AUTOCLEAR;
            ::ioctl(loop_, LOOP_SET_STATUS64, &info);
        }
        if (backing >= 0) {
            ::close(backing);
        }
        if (control >= 0) {
            ::close(control);
        }
        return loop_ >= 0;
    }

    TempDir dir_;
    std::string image_;
    std::string device_;
    int loop_ = -1;
    bool mounted_ = false;
};

} // namespace quarn::test
