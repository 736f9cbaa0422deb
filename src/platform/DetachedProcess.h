#pragma once

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quarn {

// Starts program with args (argument 0 is added) and does not wait for it: in a session of
// its own, in folder when one is given, its input from /dev/null and its signals at their
// defaults. A program name without "/" is looked up in PATH. The arguments go to it byte for
// byte, through no shell. The system's reason when it could not be started, else "". The
// child is reaped when it ends, so it never lingers as a zombie.
std::string StartDetached(const std::string& program, const std::vector<std::string>& args,
                          const std::string& folder = {});

// A program started as StartDetached starts one, whose end its owner learns without waiting
// for it: EndedFd() becomes readable when the program has ended, and ExitStatus() then says
// how. A thread of its own reaps it, also when the owner is gone before the program ends.
class WatchedProcess {
public:
    WatchedProcess(const std::string& program, const std::vector<std::string>& args);

    // The system's reason when the program could not be started, else "".
    const std::string& StartFailure() const { return startFailure_; }
    // Readable once the program has ended; -1 when it was never started.
    int EndedFd() const;
    // Its exit status (0 to 255), -1 when a signal ended it; nothing while it runs or when
    // it was never started.
    std::optional<int> ExitStatus() const;

private:
    struct Outcome;

    std::string startFailure_;
    std::shared_ptr<Outcome> outcome_;
};

} // namespace quarn
