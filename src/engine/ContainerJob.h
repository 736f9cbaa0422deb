#pragma once

#include "engine/FileFailure.h"
#include "engine/MessagePacer.h"
#include "platform/FileOperationResult.h"

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace quarn {

class FileWorkView;

// The reporting side of one per-file procedure: its messages, its bar, the cancel flag and
// the window's messages while it runs.
class ContainerJob {
public:
    // verb is "encrypt" or "decrypt"; name the source's name as selected.
    ContainerJob(FileWorkView& view, std::string_view verb, const std::string& name)
        : view_(view), verb_(verb), name_(name) {}

    bool CancelRequested() const;
    // The bar at round(processed / size * 100), clamped, then pending messages through the
    // pacer.
    void ShowProgress(std::int64_t processed, std::int64_t size);
    // work on a helper thread while the window answers (WaitAnswering).
    FileOperationResult WaitAnswering(const std::function<FileOperationResult()>& work);
    // The failure's message as a warning with OK.
    void Warn(const FileFailure& failure);

private:
    FileWorkView& view_;
    std::string_view verb_;
    const std::string& name_;
    MessagePacer pacer_{view_};
};

} // namespace quarn
