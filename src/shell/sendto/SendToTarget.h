#pragma once

#include <string>
#include <vector>

namespace quarn {

// Sends files to the entry at entryPath of the Send To folder. An entry that leads to a folder
// (a symbolic link to one) receives a copy of each file, never replacing an entry there; a
// desktop entry (".desktop") starts its program with them, detached and through no shell.
// Every failure is shown in a message box of its own, and the rest goes on.
void SendFilesTo(const std::string& entryPath, const std::vector<std::string>& files);

} // namespace quarn
