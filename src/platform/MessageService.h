#pragma once

#include <memory>
#include <optional>
#include <string>

namespace quarn {

enum class MessageKind { Warning, Error, Information, Confirmation };
enum class MessageButtons { Ok, YesNo, OkCancel };
enum class MessageAnswer { Ok, Yes, No, Cancel };

// What the save dialog is asked to show; the answer is the chosen path or nothing.
struct SaveDialogRequest {
    std::string title;            // "Save As..."
    std::string initialFolder;    // ends in "/"
    std::string fileName;         // proposed name
    std::string defaultExtension; // with its dot, e.g. ".zot!"
    std::string filter = "All Files (*.*)|*.*";
};

// Every message box, save dialog and folder picker of both programs goes through the
// installed service. Texts are exact bytes with "\r\n" line breaks; the Qt side shows them as
// line breaks.
class MessageService {
public:
    virtual ~MessageService() = default;
    virtual MessageAnswer Show(MessageKind kind, const std::string& text,
                               MessageButtons buttons) = 0;
    virtual std::optional<std::string> AskSaveFile(const SaveDialogRequest& request) = 0;
    // The folder picker: only file-system folders can be chosen, starting in the home folder;
    // instruction ("Start-up Folder:") names what is picked. The chosen folder's path, or
    // nothing when the user cancels. A service without a picker answers as a cancel.
    virtual std::optional<std::string> AskFolder(const std::string& instruction);
};

// The process-wide service: each program's main installs the Qt one (QtMessageService), tests a
// scripted one. Throws std::logic_error while none is installed.
MessageService& Messages();
// Installs a service; returns the previous one.
std::unique_ptr<MessageService> InstallMessageService(std::unique_ptr<MessageService> service);

} // namespace quarn
