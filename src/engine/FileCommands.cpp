#include "engine/FileCommands.h"

#include "engine/Container.h"
#include "engine/ContainerJob.h"
#include "engine/FileCommandsView.h"
#include "engine/FileFailure.h"
#include "engine/NameClash.h"
#include "engine/OutputNames.h"
#include "engine/ProgressMath.h"
#include "engine/WaitAnswering.h"
#include "engine/Wipe.h"
#include "platform/EntryStamp.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"
#include "platform/StagedFileSweep.h"

#include <optional>
#include <set>
#include <string_view>

namespace quarn {

namespace {

bool commandRunning = false;

// Marks a loop as running for its lifetime, also when an error escapes it.
class RunningCommand {
public:
    RunningCommand() { commandRunning = true; }
    ~RunningCommand() { commandRunning = false; }
    RunningCommand(const RunningCommand&) = delete;
    RunningCommand& operator=(const RunningCommand&) = delete;
};

// What one file of a loop gets: its place in the list and its names.
struct ListedFile {
    const std::string& path;
    std::string name;
};

// Runs work(file) for every path until a cancel, with the counter and labels before each
// file and the overall bar after each file for which work answers true.
template <typename Work>
void RunLoop(FileCommandsView& view, const std::vector<std::string>& paths, const char* type,
             Work work) {
    const auto count = static_cast<int>(paths.size());
    for (int i = 0; i < count && !view.CancelRequested(); ++i) {
        const ListedFile file{paths[i], NamePart(paths[i])};
        view.ShowCounter(i + 1, count);
        view.SetOperationType(type);
        view.SetInFile(file.name);
        if (work(file)) {
            view.SetOverallProgress(RoundedPercent(i + 1, count));
            view.ProcessMessages();
        }
    }
}

// What a run killed part-way left in the folders this loop works in: staging files, where the
// file system has no unnamed files (docs/safe-files.md). Removed on a helper thread: each is
// overwritten first.
void RemoveAbandonedStaging(FileCommandsView& view, const std::vector<std::string>& paths,
                            const std::string& folder) {
    std::set<std::string> folders;
    for (const std::string& path : paths) {
        folders.insert(FolderPart(path));
    }
    folders.insert(folder);
    folders.erase("");
    (void)WaitAnswering(view, [&] {
        for (const std::string& each : folders) {
            RemoveAbandonedStagedFiles(each);
        }
        return FileOperationResult{};
    });
}

void StartContainerFile(FileCommandsView& view) {
    view.ClearOutFile();
    view.SetFileProgress(0);
    view.ProcessMessages();
}

// The output path after the clash questions, shown as the file being made; nothing when the
// file is skipped.
std::optional<std::string> SettleOutput(FileCommandsView& view, ClashCommand command,
                                        const std::string& proposed, const std::string& folder,
                                        const ListedFile& file) {
    auto output = SettleNameClash(view.Messages(), command, proposed, folder, file.path);
    if (output) {
        view.SetOutFile(NamePart(*output));
        view.ProcessMessages();
    }
    return output;
}

// An entry that is no file to read ends its step here: nothing there (or a folder) is passed
// over; a symbolic link, FIFO, socket or device is refused unopened, so that neither a link
// nor its target changes. Answers the step's result then, nothing when the file is taken.
std::optional<bool> EndForNonFile(FileCommandsView& view, const ListedFile& file,
                                  std::string_view verb) {
    switch (KindOfEntry(file.path)) {
    case EntryKind::None:
    case EntryKind::Folder:
        return true;
    case EntryKind::Link:
    case EntryKind::Special:
        ContainerJob(view, verb, file.name).Warn({FailureKind::NotRegularFile});
        return false;
    case EntryKind::File:
        break;
    }
    return std::nullopt;
}

// A plain deletion after success, waited for on a helper thread while the window answers (a
// large file takes a while to free); a failure is said, never passed over. Only the file that
// was read goes, unchanged: another program may have saved a new version under its name, or
// written to it, meanwhile (changed says what the procedure was doing then).
void DeleteSource(FileCommandsView& view, const ListedFile& file, const ReadSource& source,
                  const char* what, FailureKind changed) {
    if (!StillStamped(source.stamp)) {
        view.Messages().Show(MessageKind::Warning, FailureMessage("delete", file.name, {changed}),
                             MessageButtons::Ok);
        return;
    }
    if (!WaitAnswering(view, [&] { return RemoveFile(file.path); }).Done()) {
        view.Messages().Show(MessageKind::Warning,
                             std::string("Quarn! was unable to delete the ") + what + " file '" +
                                 file.name + "'.\r\n\r\nPlease manually delete file '" + file.path +
                                 "'.",
                             MessageButtons::Ok);
    }
}

} // namespace

bool FileCommandRunning() {
    return commandRunning;
}

void WipeFile(FileCommandsView& view, ReadSource source, const std::string& folder,
              const EngineOptions& options) {
    view.SetOperationType("Wiping:");
    view.ProcessMessages();
    WipeReadFile(view, std::move(source), folder, MakeWipePlan(options), WipeWording::OriginalFile);
}

void EncryptFiles(FileCommandsView& view, TRijndael& cipher, const EngineOptions& options,
                  const std::vector<std::string>& paths, const std::string& folder,
                  const std::string& password) {
    if (commandRunning) {
        return;
    }
    const RunningCommand running;
    RemoveAbandonedStaging(view, paths, folder);
    RunLoop(view, paths, "Encrypting:", [&](const ListedFile& file) {
        StartContainerFile(view);
        if (IsEncryptedFile(file.path)) {
            return true;
        }
        if (const auto ended = EndForNonFile(view, file, "encrypt")) {
            return *ended;
        }
        const std::string proposed = EncryptedOutputPath(file.path, folder, options);
        const auto output = SettleOutput(view, ClashCommand::Encrypt, proposed, folder, file);
        if (!output) {
            return false;
        }
        // Another program may take the name while the file is encrypted: a numbered name then
        // moves on to the next free number, any other goes through the clash questions.
        std::string numbered = options.EncryptName && *output == proposed ? proposed : "";
        const auto settleTaken = [&](const std::string& taken) {
            if (taken == numbered) {
                numbered = folder + NextNumberedName(folder);
                return SettleOutput(view, ClashCommand::Encrypt, numbered, folder, file);
            }
            return SettleOutput(view, ClashCommand::Encrypt, taken, folder, file);
        };
        ContainerResult result =
            WriteContainer(cipher, view, file.path, *output, file.name, password, settleTaken);
        if (result.done && options.DeleteOriginal) {
            DeleteSource(view, file, result.source, "original", FailureKind::ChangedWhileEncrypted);
        } else if (result.done) {
            WipeFile(view, std::move(result.source), folder, options);
        }
        return result.dataLoopRan;
    });
}

void DecryptFiles(FileCommandsView& view, TRijndael& cipher, const EngineOptions&,
                  const std::vector<std::string>& paths, const std::string& folder,
                  const std::string& password) {
    if (commandRunning) {
        return;
    }
    const RunningCommand running;
    RemoveAbandonedStaging(view, paths, folder);
    RunLoop(view, paths, "Decrypting:", [&](const ListedFile& file) {
        StartContainerFile(view);
        if (!IsEncryptedFile(file.path)) {
            return true;
        }
        if (const auto ended = EndForNonFile(view, file, "decrypt")) {
            return *ended;
        }
        const auto settle = [&](const std::string& proposed) {
            return SettleOutput(view, ClashCommand::Decrypt, proposed, folder, file);
        };
        const ContainerResult result =
            ReadContainer(cipher, view, file.path, folder, file.name, password, settle);
        if (result.done) {
            DeleteSource(view, file, result.source, "encrypted",
                         FailureKind::ChangedWhileDecrypted);
        }
        return result.dataLoopRan;
    });
}

void WipeFiles(FileCommandsView& view, const EngineOptions& options,
               const std::vector<std::string>& paths, const std::string& folder) {
    if (commandRunning) {
        return;
    }
    const RunningCommand running;
    RemoveAbandonedStaging(view, paths, folder);
    const WipePlan plan = MakeWipePlan(options);
    view.ClearOutFile();
    RunLoop(view, paths, "Wiping:", [&](const ListedFile& file) {
        const WipeOutcome outcome =
            WipeOneFile(view, file.path, folder, plan, WipeWording::ListedFile);
        return outcome != WipeOutcome::Failed && outcome != WipeOutcome::Empty;
    });
}

} // namespace quarn
