#pragma once

#include "engine/EngineOptions.h"

#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

class TRegistry;

// The main window's settings fields with their defaults.
struct Settings {
    std::uint8_t Startup = 0; // 0 the tree's default, 1 the last folder, 2 StartupFolder
    std::string StartupFolder;
    bool DisplayFolderSize = false;
    bool DisplaySelectedSize = false;
    EngineOptions Engine;
};

// What the start-up read gives: the settings (all defaults after any failed read) and the
// "Favorites" text as far as it was read.
struct StoredSettings {
    Settings Values;
    std::string Favorites;
};

// Sets the root to HKEY_CURRENT_USER and reads the key; reports nothing.
StoredSettings ReadSettings(TRegistry& registry);

// Writes every setting; a failed write shows the error box.
void SaveSettings(TRegistry& registry, const Settings& settings);

// HKEY_LOCAL_MACHINE "Path" := the folder of programFile without its trailing "/"; leaves
// the root at HKEY_LOCAL_MACHINE. Nothing written and nothing reported when the key does
// not open.
void WriteProgramPath(TRegistry& registry, const std::string& programFile);

// At close: when Startup is 1, "StartupFolder" := currentFolder (with its trailing "/").
void SaveStartupFolder(TRegistry& registry, const Settings& settings,
                       const std::string& currentFolder);

// The utility's start-up read: "ContextMenu" taken and emptied in one locked step and split
// into lines (a warning when it cannot be emptied), then the six engine settings (all
// defaults after any failed read).
struct UtilityStart {
    std::vector<std::string> ContextMenuFiles;
    EngineOptions Options;
};
UtilityStart ReadUtilityStart();

} // namespace quarn
