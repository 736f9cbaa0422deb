#pragma once

#include <optional>
#include <string>
#include <vector>

namespace quarn::clu {

enum class TOperation { Encrypt, Decrypt, Wipe };

inline constexpr char UsageMessage[] =
    "Incorrect Usage\r\n\r\nUsage: QuarnCLU [/e][/d][/w] filename\r\n/e -\tEncrypt file\r\n"
    "/d -\tDecrypt file\r\n/w -\tWipe file";

inline constexpr char ZotShellWord[] = "zotshell";

// The utility's command line once its switch was accepted.
struct TCommandLine {
    TOperation Operation = TOperation::Encrypt;
    // Argument 2 is "zotshell": only the "ContextMenu" names are taken.
    bool ZotShell = false;
    // Arguments 2 to last as given (empty with ZotShell).
    std::vector<std::string> Files;
};

// The arguments as the bytes the process got, argument 0 included. Taken before
// QApplication sees argv: it removes the arguments it knows.
std::vector<std::string> RawArguments(int argc, char** argv);

// args[0] is the program; nothing when the usage message is due (fewer than two further
// arguments, or a switch other than "/e", "/d", "/w", compared case-sensitively).
std::optional<TCommandLine> ParseCommandLine(const std::vector<std::string>& args);

// The process's working folder with a trailing "/", or "" when it cannot be read.
std::string WorkingFolder();

// path made absolute against workingFolder (which ends in "/"); absolute and empty
// entries, and every entry when workingFolder is "", are kept as they are.
std::string AbsolutePath(const std::string& path, const std::string& workingFolder);

// The list a run processes: the "ContextMenu" names, then (unless ZotShell) the
// command-line files, each made absolute. Empty entries stay: they are passed over.
std::vector<std::string> BuildFileList(const std::vector<std::string>& contextMenuFiles,
                                       const TCommandLine& commandLine,
                                       const std::string& workingFolder);

// The folder part (with its trailing "/") of the first entry that has one; "" when none.
std::string FirstFolder(const std::vector<std::string>& files);

} // namespace quarn::clu
