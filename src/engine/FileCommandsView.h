#pragma once

#include "engine/FileWorkView.h"

#include <string>

namespace quarn {

// What the encrypt, decrypt and wipe loops report on, besides the per-file work: the labels of
// the current file, a counter and a bar over the whole list.
class FileCommandsView : public FileWorkView {
public:
    // What is being done to the current file: "Encrypting:", "Decrypting:" or "Wiping:".
    virtual void SetOperationType(const std::string& text) = 0;
    // The current source's name without its folder.
    virtual void SetInFile(const std::string& name) = 0;
    // The output's name without its folder, shown as the file being made.
    virtual void SetOutFile(const std::string& name) = 0;
    // No output is being made.
    virtual void ClearOutFile() = 0;
    // The current file's number, from 1, of count.
    virtual void ShowCounter(int number, int count) = 0;
    // The bar over the whole list; the value is already rounded and clamped to 0..100.
    virtual void SetOverallProgress(int percent) = 0;
};

} // namespace quarn
