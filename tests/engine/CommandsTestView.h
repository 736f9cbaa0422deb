#pragma once

#include "ContainerTestSupport.h"
#include "ScriptedMessages.h"
#include "TestFiles.h"
#include "engine/FileCommandsView.h"
#include "platform/PosixFile.h"

#include <fcntl.h>
#include <functional>
#include <linux/fs.h>
#include <string>
#include <sys/ioctl.h>
#include <sys/mount.h>
#include <unistd.h>
#include <vector>

namespace quarn::test {

// The window of the loops: scripted messages, every label, counter and bar change logged in
// order, hooks on the file bar and on message pumps, and a cancel flag.
class CommandsTestView : public FileCommandsView {
public:
    MessageService& Messages() override { return messages; }
    void ProcessMessages() override {
        ++pumps;
        if (onPump) {
            onPump();
        }
    }
    bool CancelRequested() const override { return cancel; }
    void SetFileProgress(int percent) override {
        fileProgress.push_back(percent);
        if (onFileProgress) {
            onFileProgress(percent);
        }
    }
    void SetOperationType(const std::string& text) override {
        type = text;
        log.push_back("type " + text);
    }
    void SetInFile(const std::string& name) override { log.push_back("in " + name); }
    void SetOutFile(const std::string& name) override { log.push_back("out " + name); }
    void ClearOutFile() override { log.push_back("out -"); }
    void ShowCounter(int number, int count) override {
        log.push_back("file " + std::to_string(number) + " of " + std::to_string(count));
        if (onCounter) {
            onCounter(number);
        }
    }
    void SetOverallProgress(int percent) override {
        overall.push_back(percent);
        log.push_back("overall " + std::to_string(percent));
    }

    ScriptedMessages messages;
    std::vector<std::string> log;
    std::vector<int> fileProgress;
    std::vector<int> overall;
    std::string type;
    int pumps = 0;
    bool cancel = false;
    std::function<void()> onPump;
    std::function<void(int)> onFileProgress;
    std::function<void(int)> onCounter;
};

// Marks a folder append-only for the object's life: entries may be added to it but none
// removed or renamed away, whoever asks (root included). Supported() is false where the
// file system refuses the flag.
class AppendOnlyFolder {
public:
    explicit AppendOnlyFolder(const std::string& folder)
        : fd_(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)) {
        supported_ = fd_ >= 0 && SetFlag(true);
    }
    ~AppendOnlyFolder() {
        if (supported_) {
            SetFlag(false);
        }
        if (fd_ >= 0) {
            ::close(fd_);
        }
    }
    AppendOnlyFolder(const AppendOnlyFolder&) = delete;
    AppendOnlyFolder& operator=(const AppendOnlyFolder&) = delete;
    bool Supported() const { return supported_; }

private:
    bool SetFlag(bool on) {
        int flags = 0;
        if (::ioctl(fd_, FS_IOC_GETFLAGS, &flags) != 0) {
            return false;
        }
        flags = on ? (flags | FS_APPEND_FL) : (flags & ~FS_APPEND_FL);
        return ::ioctl(fd_, FS_IOC_SETFLAGS, &flags) == 0;
    }

    int fd_;
    bool supported_ = false;
};

// A small tmpfs mounted on a fresh folder for the object's life, to fill the disc.
// Mounted() is false where mounting is not allowed.
class SmallTmpfs {
public:
    explicit SmallTmpfs(const char* size) {
        const std::string options = std::string("size=") + size;
        mounted_ = ::mount("tmpfs", dir_.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallTmpfs() {
        if (mounted_) {
            ::umount2(dir_.Path().c_str(), MNT_DETACH);
        }
    }
    SmallTmpfs(const SmallTmpfs&) = delete;
    SmallTmpfs& operator=(const SmallTmpfs&) = delete;
    bool Mounted() const { return mounted_; }
    const TempDir& Dir() const { return dir_; }

    // Writes the file name until no room is left; answers its path.
    std::string FillUp(const std::string& name) const {
        const std::string path = dir_ / name;
        const UniqueFd fd(::open(path.c_str(), O_WRONLY | O_CREAT, 0600));
        const std::string chunk(1 << 16, 'f');
        while (::write(fd.Get(), chunk.data(), chunk.size()) > 0) {
        }
        return path;
    }

private:
    TempDir dir_;
    bool mounted_ = false;
};

} // namespace quarn::test
