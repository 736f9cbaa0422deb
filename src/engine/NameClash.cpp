#include "engine/NameClash.h"

#include "engine/OutputNames.h"
#include "platform/MessageService.h"
#include "platform/PosixFile.h"
#include "platform/SafeFile.h"

#include <sys/stat.h>

namespace quarn {

namespace {

bool SameFile(const struct stat& a, const struct stat& b) {
    return a.st_dev == b.st_dev && a.st_ino == b.st_ino;
}

// The source itself, also under another name (a hard link).
bool IsSource(const std::string& target, const std::string& source) {
    struct stat targetInfo {};
    struct stat sourceInfo {};
    return ::lstat(target.c_str(), &targetInfo) == 0 && ::lstat(source.c_str(), &sourceInfo) == 0 &&
           SameFile(targetInfo, sourceInfo);
}

bool DeleteTarget(const std::string& target, const std::string& source) {
    return !IsSource(target, source) && RemoveFile(target).Done();
}

class Clash {
public:
    Clash(MessageService& messages, ClashCommand command, const std::string& outputPath,
          const std::string& folder, const std::string& sourcePath)
        : messages_(messages), command_(command), output_(outputPath), folder_(folder),
          source_(sourcePath), name_(NamePart(sourcePath)) {}

    std::optional<std::string> Settle() {
        if (KindOfEntry(output_) == EntryKind::None) {
            return output_;
        }
        if (Ask(Question()) == MessageAnswer::Yes) {
            if (const auto chosen = messages_.AskSaveFile(SaveRequest())) {
                return Replace(*chosen);
            }
        }
        if (Ask("Overwrite the existing file?") != MessageAnswer::Yes) {
            if (command_ == ClashCommand::Encrypt) {
                messages_.Show(MessageKind::Information, "Skipping file '" + name_ + "'.",
                               MessageButtons::Ok);
            }
            return std::nullopt;
        }
        return Replace(output_);
    }

private:
    std::string Question() const {
        const std::string out = NamePart(output_);
        if (command_ == ClashCommand::Encrypt) {
            return "After encryption, the resulting file will be named '" + out +
                   "'. This folder already contains a file named '" + out +
                   "'.\r\n\r\nWould you like to specify a new file name?";
        }
        return "This folder already contains a file named '" + out +
               "'.\r\n\r\nWould you like to save the file with a new name?";
    }

    SaveDialogRequest SaveRequest() const {
        SaveDialogRequest request;
        request.title = "Save As...";
        request.initialFolder = folder_;
        request.fileName = NamePart(output_);
        request.defaultExtension =
            command_ == ClashCommand::Encrypt ? EncryptedExtension : ExtensionOf(output_);
        return request;
    }

    MessageAnswer Ask(const std::string& text) const {
        return messages_.Show(MessageKind::Confirmation, text, MessageButtons::YesNo);
    }

    // The output goes to target; a file there is deleted first.
    std::optional<std::string> Replace(const std::string& target) const {
        if (KindOfEntry(target) != EntryKind::None && !DeleteTarget(target, source_)) {
            messages_.Show(MessageKind::Warning,
                           "Unable to delete file '" + NamePart(target) + "'. Skipping file '" +
                               name_ + "'.",
                           MessageButtons::Ok);
            return std::nullopt;
        }
        return target;
    }

    MessageService& messages_;
    ClashCommand command_;
    const std::string& output_;
    const std::string& folder_;
    const std::string& source_;
    std::string name_;
};

} // namespace

std::optional<std::string> SettleNameClash(MessageService& messages, ClashCommand command,
                                           const std::string& outputPath, const std::string& folder,
                                           const std::string& sourcePath) {
    return Clash(messages, command, outputPath, folder, sourcePath).Settle();
}

} // namespace quarn
