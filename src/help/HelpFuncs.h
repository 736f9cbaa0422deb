#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

// The help file that help commands show ("<program folder>/Quarn! Help.chm").
void SetApplicationHelpFile(const std::string& path);
const std::string& ApplicationHelpFile();

// Shows a topic of the application's help file: "" shows the file's default topic, a
// topic name such as "password_window" shows "<help file>::/password_window.htm".
// When the control cannot show it (none loaded, file or topic missing) the error
// "An unexpected error has occurred: ..." is shown and the result is false.
bool ShowHelpTopic(const std::string& topic = {});
// Closes every help window; does nothing when no control is loaded.
void CloseAllHelpWindows();

// Program start: binds the help control, then gathers the facts below and writes the
// debug report. Only the first call works; FinalizeHelp undoes it on the last call.
void InitializeHelp(int argc, char** argv);
void FinalizeHelp();

// InitializeHelp for the object's lifetime: one in each program's main().
class HelpSession {
public:
    HelpSession(int argc, char** argv) { InitializeHelp(argc, argv); }
    ~HelpSession() { FinalizeHelp(); }
    HelpSession(const HelpSession&) = delete;
    HelpSession& operator=(const HelpSession&) = delete;
};

// What start-up found out. Folders carry no trailing "/" (the root reads "").
struct HelpFacts {
    bool debugMode = false;
    std::string reportFolder;
    std::string modulePath; // the program file
    std::string moduleName; // its file name
    std::string moduleFolder;
    std::string runFolder;              // the folder of argument 0
    std::vector<std::string> arguments; // argument 0 first
    bool hhInstalled = false;
    std::string hhVersionText;
    std::string hhFriendlyVersionText;
    bool ieInstalled = false; // the page renderer of the help control
    std::string ieVersionText;
    std::string ieFriendlyVersionText;
};
const HelpFacts& HelpStartupFacts();
bool HelpFactsGathered(); // false before start-up and after the end

// The start-up steps for a given program file and command line: folders, report folder,
// debug mode, control and renderer versions, then WriteDebugReport. InitializeHelp calls
// it with the running program.
void GatherHelpFacts(const std::string& modulePath, const std::vector<std::string>& arguments);
void ClearHelpFacts();

struct FileVersion {
    std::uint16_t major = 0;
    std::uint16_t minor = 0;
    std::uint16_t release = 0;
    std::uint16_t build = 0;
};
// The file's version block as numbers and "<major>.<minor>.<release>.<build>"; all 0 and
// "" for a file that is missing or has no version block.
struct FileVersionText {
    FileVersion version;
    std::string text;
};

// Removes every trailing occurrence of c.
std::string StripTrailingChar(const std::string& text, char c);
std::string RepeatChar(char c, std::size_t count);
std::string YesNoText(bool value); // "YES" or "NO"
std::string GetSystemFolder();     // the system's library folder
std::string GetTempFolder();       // $TMPDIR or /tmp; the root when that does not exist
FileVersionText GetFileVersionText(const std::string& path);
// 0 when equal, 1 when a is greater, -1 when a is smaller.
int CompareVersions(const FileVersion& a, const FileVersion& b);
// Whether "<folder>/$_Temp_$.$$$" can be created (it is removed again).
bool IsFolderWritable(const std::string& folder);

// Friendly names of the help control's and of the browser's version; "" for an empty
// version text.
std::string HtmlHelpFriendlyName(const FileVersionText& version);
std::string BrowserFriendlyName(const FileVersionText& version);
// A renderer version 4.x with minor 70 or below and release 0 carries its build in the
// release place: moves it there and rebuilds the text.
FileVersionText AdjustBrowserVersion(FileVersionText version);

// Appends one line to "<report folder>/HHDebug.txt": "-" and "=" are 79-character rules,
// a line starting with "!", "-" or "=" is written without that character, any other line
// gets three blanks and the time. I/O errors skip the line.
void WriteDebugLine(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Deletes the old report and, in debug mode, writes the start-up report.
void WriteDebugReport();

} // namespace quarn
