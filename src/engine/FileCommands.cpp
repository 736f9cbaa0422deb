#include "engine/FileCommands.h"

#include "engine/Container.h"
#include "engine/ContainerFailure.h"
#include "engine/ContainerJob.h"
#include "engine/FileCommandsView.h"
#include "engine/NameClash.h"
#include "engine/OutputNames.h"
#include "engine/ProgressMath.h"
#include "engine/Wipe.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"

#include <optional>
#include <string_view>
#include <unistd.h>

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

void StartContainerFile(FileCommandsView& view) {
    view.ClearOutFile();
    view.SetFileProgress(0);
    view.ProcessMessages();
}

void ShowOutput(FileCommandsView& view, const std::string& outputPath) {
    view.SetOutFile(NamePart(outputPath));
    view.ProcessMessages();
}

// An entry that is no file to read ends its step here: nothing there (or a folder) is passed
// over; a FIFO, socket or device is refused unopened ("Unable to <verb> file '<name>': It is
// not a regular file."). Answers the step's result then, nothing when the file is taken.
std::optional<bool> EndForNonFile(FileCommandsView& view, const ListedFile& file,
                                  std::string_view verb) {
    switch (KindOfEntry(file.path)) {
    case EntryKind::None:
        return true;
    case EntryKind::Special:
        ContainerJob(view, verb, file.name).Warn(NotRegularText);
        return false;
    case EntryKind::File:
    case EntryKind::Link:
        break;
    }
    return std::nullopt;
}

// A plain deletion after success; a failure is said, never passed over.
void DeleteSource(FileCommandsView& view, const ListedFile& file, const char* what) {
    if (::unlink(file.path.c_str()) != 0) {
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

void WipeFile(FileCommandsView& view, const std::string& path, const std::string& folder,
              const EngineOptions& options) {
    view.SetOperationType("Wiping:");
    view.ProcessMessages();
    WipeOneFile(view, path, folder, MakeWipePlan(options), WipeWording::OriginalFile);
}

void EncryptFiles(FileCommandsView& view, TRijndael& cipher, const EngineOptions& options,
                  const std::vector<std::string>& paths, const std::string& folder,
                  const std::string& password) {
    if (commandRunning) {
        return;
    }
    const RunningCommand running;
    RunLoop(view, paths, "Encrypting:", [&](const ListedFile& file) {
        StartContainerFile(view);
        if (IsEncryptedFile(file.path)) {
            return true;
        }
        if (const auto ended = EndForNonFile(view, file, "encrypt")) {
            return *ended;
        }
        const auto output =
            SettleNameClash(view.Messages(), ClashCommand::Encrypt,
                            EncryptedOutputPath(file.path, folder, options), folder, file.path);
        if (!output) {
            return false;
        }
        ShowOutput(view, *output);
        const ContainerResult result =
            WriteContainer(cipher, view, file.path, *output, file.name, password);
        if (result.done && options.DeleteOriginal) {
            DeleteSource(view, file, "original");
        } else if (result.done) {
            WipeFile(view, file.path, folder, options);
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
    RunLoop(view, paths, "Decrypting:", [&](const ListedFile& file) {
        StartContainerFile(view);
        if (!IsEncryptedFile(file.path)) {
            return true;
        }
        if (const auto ended = EndForNonFile(view, file, "decrypt")) {
            return *ended;
        }
        const auto settle = [&](const std::string& proposed) {
            auto output = SettleNameClash(view.Messages(), ClashCommand::Decrypt, proposed, folder,
                                          file.path);
            if (output) {
                ShowOutput(view, *output);
            }
            return output;
        };
        const ContainerResult result =
            ReadContainer(cipher, view, file.path, folder, file.name, password, settle);
        if (result.done) {
            DeleteSource(view, file, "encrypted");
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
    const WipePlan plan = MakeWipePlan(options);
    view.ClearOutFile();
    RunLoop(view, paths, "Wiping:", [&](const ListedFile& file) {
        const WipeOutcome outcome =
            WipeOneFile(view, file.path, folder, plan, WipeWording::ListedFile);
        return outcome != WipeOutcome::Failed && outcome != WipeOutcome::Empty;
    });
}

} // namespace quarn
