#include "engine/Wipe.h"

#include "engine/FileFailure.h"
#include "engine/FileWorkView.h"
#include "engine/MessagePacer.h"
#include "engine/OutputNames.h"
#include "engine/ProgressMath.h"
#include "engine/WaitAnswering.h"
#include "engine/Writeback.h"
#include "platform/EntryStamp.h"
#include "platform/Guid.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace quarn {

namespace {

constexpr int MaxRounds = 100;

struct WipeTarget {
    std::string path;
    std::string name;    // without its folder, for the messages
    std::string newName; // folder + GUID text
    WipeWording wording;
};

void Warn(FileWorkView& view, const std::string& text) {
    view.Messages().Show(MessageKind::Warning, text, MessageButtons::Ok);
}

void WarnUnable(FileWorkView& view, const WipeTarget& target, const FileFailure& failure) {
    Warn(view, FailureMessage("wipe", target.name, failure));
}

std::string SubjectText(const WipeTarget& target) {
    const char* subject =
        target.wording == WipeWording::OriginalFile ? "the original file '" : "file '";
    return subject + target.name + "'";
}

// Renamed, but the file under its GUID name stayed.
void WarnNotDeleted(FileWorkView& view, const WipeTarget& target) {
    Warn(view,
         "Quarn! has successfully wiped and renamed " + SubjectText(target) +
             ". However, the file could not be deleted.\r\n\r\nPlease manually delete file '" +
             target.newName + "'.");
}

// Not renamed: may it be deleted under its own name?
bool AskDeleteUnrenamed(FileWorkView& view, const WipeTarget& target) {
    const char* object =
        target.wording == WipeWording::OriginalFile ? "the original file" : "the file";
    const std::string text = "Quarn! has successfully wiped " + SubjectText(target) +
                             ". However, the file could not be renamed prior to deletion.\r\n\r\n"
                             "Would you like to delete " +
                             object + " anyway?";
    return view.Messages().Show(MessageKind::Warning, text, MessageButtons::YesNo) ==
           MessageAnswer::Yes;
}

// Not renamed, and not deleted under its own name either.
void WarnUndeletable(FileWorkView& view, const WipeTarget& target) {
    Warn(view, "Quarn! was unable to delete the wiped file. '" + target.name +
                   "'.\r\n\r\nPlease manually delete file '" + target.path + "'.");
}

// The rename and the deletions flush the folder, and deleting a large file takes a while to
// free it: each is waited for on a helper thread while the window answers.
void RemoveWiped(FileWorkView& view, const WipeTarget& target) {
    const auto removed = [&](const std::string& path) {
        return WaitAnswering(view, [&] { return RemoveFile(path); }).Done();
    };
    const bool renamed =
        WaitAnswering(view, [&] { return RenameNoReplace(target.path, target.newName); }).Done();
    if (renamed) {
        if (!removed(target.newName)) {
            WarnNotDeleted(view, target);
        }
        return;
    }
    if (AskDeleteUnrenamed(view, target) && !removed(target.path)) {
        WarnUndeletable(view, target);
    }
}

constexpr int WipeOpenFlags = O_WRONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC;

// Never follows a link, never blocks on a FIFO or device, and refuses a file that another
// Quarn process holds.
UniqueFd OpenForWipe(const std::string& path, std::uint64_t& size) {
    UniqueFd fd(::open(path.c_str(), WipeOpenFlags | O_NOFOLLOW));
    struct stat info {};
    if (!fd || ::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        !TryLockExclusive(fd.Get())) {
        return UniqueFd();
    }
    size = static_cast<std::uint64_t>(info.st_size);
    return fd;
}

// The file that was read, opened for writing through its own descriptor; by its path only
// where /proc is not mounted. The read's shared lock gives way to the wipe's exclusive one.
UniqueFd ReopenForWipe(ReadSource& source) {
    UniqueFd fd(
        ::open(("/proc/self/fd/" + std::to_string(source.fd.Get())).c_str(), WipeOpenFlags));
    if (!fd && errno == ENOENT && ::access("/proc/self/fd", F_OK) != 0) {
        fd.Reset(::open(source.stamp.path.c_str(), WipeOpenFlags | O_NOFOLLOW));
    }
    if (!fd) {
        return fd;
    }
    source.fd.Reset();
    return TryLockExclusive(fd.Get()) ? std::move(fd) : UniqueFd();
}

// fd has the stamped file open, and the stamp's path still holds it as it was.
bool StillTheFileRead(int fd, const EntryStamp& stamp) {
    struct stat info {};
    return ::fstat(fd, &info) == 0 && info.st_dev == stamp.device && info.st_ino == stamp.inode &&
           StillStamped(stamp);
}

// Writes every pass of the plan over the first size bytes, each flushed to the device; the
// write-out runs along with the pass on a helper thread, so its flush waits for little, and
// the window answers meanwhile.
class PassWriter {
public:
    PassWriter(FileWorkView& view, int fd, std::uint64_t size, const WipePlan& plan)
        : view_(view), fd_(fd), size_(size), plan_(plan),
          total_(size * plan.passBytes.size() * static_cast<std::uint64_t>(plan.rounds)),
          block_(WipeBlockSize) {}

    WipeOutcome Run(const WipeTarget& target) {
        for (int round = 0; round < plan_.rounds; ++round) {
            for (const std::uint8_t pattern : plan_.passBytes) {
                bool cancelled = view_.CancelRequested();
                if (cancelled) {
                    return WipeOutcome::Cancelled;
                }
                if (const auto failure = Pass(pattern, cancelled)) {
                    WarnUnable(view_, target, *failure);
                    return WipeOutcome::Failed;
                }
                if (cancelled) {
                    return WipeOutcome::Cancelled;
                }
            }
        }
        // A cancel raised while the last pass was flushed still counts.
        return view_.CancelRequested() ? WipeOutcome::Cancelled : WipeOutcome::Wiped;
    }

private:
    StepFailure Pass(std::uint8_t pattern, bool& cancelled) {
        std::fill(block_.begin(), block_.end(), pattern);
        if (::lseek(fd_, 0, SEEK_SET) != 0) {
            return SystemFailure(errno);
        }
        Writeback writeback(view_, fd_);
        for (std::uint64_t offset = 0; offset < size_;) {
            if (view_.CancelRequested()) {
                cancelled = true;
                return std::nullopt;
            }
            const std::size_t count =
                static_cast<std::size_t>(std::min<std::uint64_t>(WipeBlockSize, size_ - offset));
            if (WriteAll(fd_, block_.data(), count) != count) {
                return SystemFailure(errno);
            }
            offset += count;
            written_ += count;
            if (auto failure = writeback.Advance(offset)) {
                return failure;
            }
            view_.SetFileProgress(RoundedPercent(written_, total_));
            pacer_.Pump();
        }
        // Until the pass is on the device, an unlink would drop it unwritten.
        return writeback.Finish();
    }

    FileWorkView& view_;
    int fd_;
    std::uint64_t size_;
    const WipePlan& plan_;
    std::uint64_t total_;
    std::uint64_t written_ = 0;
    MessagePacer pacer_{view_};
    std::vector<std::uint8_t> block_;
};

void StartWipe(FileWorkView& view) {
    view.SetFileProgress(0);
    view.ProcessMessages();
}

// The passes over the first size bytes of the open file, then its rename and deletion: only
// while its path still holds it at that size, since another program may have replaced it or
// written to it meanwhile (its times are the wipe's own by now).
WipeOutcome WipeOpenFile(FileWorkView& view, const WipeTarget& target, UniqueFd fd,
                         std::uint64_t size, const WipePlan& plan) {
    WipeOutcome outcome = WipeOutcome::Empty;
    if (size > 0) {
        outcome = PassWriter(view, fd.Get(), size, plan).Run(target);
    }
    if (outcome != WipeOutcome::Wiped && outcome != WipeOutcome::Empty) {
        return outcome;
    }
    struct stat info {};
    const bool unchanged = ::fstat(fd.Get(), &info) == 0 &&
                           static_cast<std::uint64_t>(info.st_size) == size &&
                           StillStamped(StampOf(target.path, info));
    if (!fd.Close() && outcome == WipeOutcome::Wiped) {
        WarnUnable(view, target, SystemFailure(errno));
        return WipeOutcome::Failed;
    }
    if (!unchanged) {
        WarnUnable(view, target, {FailureKind::ChangedWhileWiped});
        return WipeOutcome::Failed;
    }
    RemoveWiped(view, target);
    return outcome;
}

} // namespace

WipePlan MakeWipePlan(const EngineOptions& options) {
    const auto last = static_cast<std::uint8_t>(options.HexValue & 0xFF);
    WipePlan plan;
    plan.passBytes = options.FastWipe ? std::vector<std::uint8_t>{last}
                                      : std::vector<std::uint8_t>{0x00, 0xFF, last};
    plan.rounds = std::clamp(options.WipeCount, 1, MaxRounds);
    return plan;
}

WipeOutcome WipeOneFile(FileWorkView& view, const std::string& path, const std::string& folder,
                        const WipePlan& plan, WipeWording wording) {
    const WipeTarget target{path, NamePart(path), folder + NewGuidText(), wording};
    StartWipe(view);

    const EntryKind kind = KindOfEntry(path);
    if (kind == EntryKind::None || kind == EntryKind::Folder) {
        return WipeOutcome::Missing;
    }
    // A link holds no contents of its own: wiping its target, or only removing the link,
    // would each leave the user believing the other had happened. FIFOs, sockets and devices
    // have nothing to overwrite either.
    if (kind != EntryKind::File) {
        WarnUnable(view, target, {FailureKind::NotRegularFile});
        return WipeOutcome::Failed;
    }
    std::uint64_t size = 0;
    UniqueFd fd = OpenForWipe(path, size);
    if (!fd) {
        WarnUnable(view, target, {FailureKind::InUse});
        return WipeOutcome::Failed;
    }
    return WipeOpenFile(view, target, std::move(fd), size, plan);
}

WipeOutcome WipeReadFile(FileWorkView& view, ReadSource source, const std::string& folder,
                         const WipePlan& plan, WipeWording wording) {
    const std::string& path = source.stamp.path;
    const WipeTarget target{path, NamePart(path), folder + NewGuidText(), wording};
    StartWipe(view);

    UniqueFd fd = ReopenForWipe(source);
    if (!fd) {
        WarnUnable(view, target, {FailureKind::InUse});
        return WipeOutcome::Failed;
    }
    if (!StillTheFileRead(fd.Get(), source.stamp)) {
        WarnUnable(view, target, {FailureKind::ChangedWhileEncrypted});
        return WipeOutcome::Failed;
    }
    return WipeOpenFile(view, target, std::move(fd), static_cast<std::uint64_t>(source.stamp.size),
                        plan);
}

} // namespace quarn
