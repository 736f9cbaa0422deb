#pragma once

#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <string>
#include <vector>

namespace quarn::test {

// The desktop's opener of a test: an "xdg-open" first in PATH for the object's lifetime,
// which records the target it is given and ends with the status the test chose (3 is what
// xdg-open answers when it finds no application for the target).
class FakeOpener {
public:
    explicit FakeOpener(int exitStatus = 0);

    // The targets handed to it so far, in order.
    std::vector<std::string> Opened() const;
    // While held, an opener that has recorded its target keeps running.
    void Hold();
    void Release();
    // Waits until the program has seen every opener end; false after timeoutMs.
    static bool WaitUntilEnded(int timeoutMs = 20000);

private:
    TempDir dir_;
    ScopedEnvironment path_;
};

} // namespace quarn::test
