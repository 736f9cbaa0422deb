#pragma once

#include <string>

namespace quarn::test {

// Puts in a watch function that blocks for one folder, as inotify_add_watch does on a hard
// network mount whose server is gone, until Release (at the latest after a minute, and when
// the object goes). Every other folder is watched at once.
class BlockingWatch {
public:
    explicit BlockingWatch(std::string folder);
    ~BlockingWatch();
    BlockingWatch(const BlockingWatch&) = delete;
    BlockingWatch& operator=(const BlockingWatch&) = delete;

    // Calls for the folder so far, and whether one is blocked now.
    int Calls() const;
    bool Blocked() const;
    // Wait until a call for the folder blocks, or until a released one has added its watch;
    // false after ten seconds.
    bool WaitUntilBlocked() const;
    bool WaitUntilWatched() const;
    void Release();
};

} // namespace quarn::test
