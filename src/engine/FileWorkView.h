#pragma once

namespace quarn {

class MessageService;

// What the per-file work needs of the window that runs it. The desktop program and the
// utility each implement it once.
class FileWorkView {
public:
    virtual ~FileWorkView() = default;
    virtual MessageService& Messages() = 0;
    virtual void ProcessMessages() = 0;
    virtual bool CancelRequested() const = 0;
    // The current file's bar; the value is already rounded and clamped to 0..100.
    virtual void SetFileProgress(int percent) = 0;
};

} // namespace quarn
