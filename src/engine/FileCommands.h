#pragma once

#include "engine/EngineOptions.h"
#include "engine/ReadSource.h"

#include <string>
#include <vector>

namespace quarn {

class FileCommandsView;
class TRijndael;

// The three loops both programs run over a list of files, reporting through the view.
// paths are full paths; folder (ending in "/") is where numbered names are drawn, the save
// dialog opens, decrypted files are written and wiped files are renamed before deletion:
// the desktop passes CurrentFolder, the utility the first listed file's folder.
//
// The caller clears the view's cancel flag and enters its busy state before the call and
// leaves it afterwards. Per-file failures are shown as messages and the loop goes on; an
// error that escapes (e.g. EKeyError) leaves the loop after its closing steps (cipher
// reset, removal of the interrupted file's partial output) and reaches the caller, which
// must catch it before it crosses the event loop.
//
// Only one loop runs at a time: a call made while one runs (from a shortcut or timer during
// message processing) returns at once and does nothing.
void EncryptFiles(FileCommandsView& view, TRijndael& cipher, const EngineOptions& options,
                  const std::vector<std::string>& paths, const std::string& folder,
                  const std::string& password);
void DecryptFiles(FileCommandsView& view, TRijndael& cipher, const EngineOptions& options,
                  const std::vector<std::string>& paths, const std::string& folder,
                  const std::string& password);
void WipeFiles(FileCommandsView& view, const EngineOptions& options,
               const std::vector<std::string>& paths, const std::string& folder);

// One of the loops is running: command handlers check it before they collect files or ask
// for a password.
bool FileCommandRunning();

// The wipe of one source after its encryption (WipeReadFile): "Wiping:" as the operation, the
// original-file wording of the messages, the GUID name drawn in folder. Leaves the file labels,
// the counter, the overall bar and the cancel flag alone.
void WipeFile(FileCommandsView& view, ReadSource source, const std::string& folder,
              const EngineOptions& options);

} // namespace quarn
