#pragma once

#include "engine/FileWorkView.h"

#include <string>

namespace quarn {

// The window that runs the encrypt, decrypt and wipe loops: the desktop's main window with
// its progress dialog and status bar, or the utility's Progress page.
class FileCommandsView : public FileWorkView {
public:
    // "Encrypting:", "Decrypting:" or "Wiping:" (lType).
    virtual void SetOperationType(const std::string& text) = 0;
    // The source's name without its folder (lInFile).
    virtual void SetInFile(const std::string& name) = 0;
    // Shows lNew and the output's name without its folder in lOutFile.
    virtual void SetOutFile(const std::string& name) = 0;
    // Empties lOutFile and hides lNew.
    virtual void ClearOutFile() = 0;
    // File number of count, from 1: the desktop shows "Processing file <number> of <count>"
    // in status panel 0, the utility "<number> of <count>" in lOverall.
    virtual void ShowCounter(int number, int count) = 0;
    // The bar over the whole list; the value is already rounded and clamped to 0..100.
    virtual void SetOverallProgress(int percent) = 0;
};

} // namespace quarn
