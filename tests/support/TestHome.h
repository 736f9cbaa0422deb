#pragma once

namespace quarn::test {

// The private home of a test process: HOME, the XDG folders and the registry point below
// TestRoot() while it lives, and the root is removed with it. Every test main holds one, so
// no test touches the user's files.
class PrivateTestHome {
public:
    PrivateTestHome();
    ~PrivateTestHome();
    PrivateTestHome(const PrivateTestHome&) = delete;
    PrivateTestHome& operator=(const PrivateTestHome&) = delete;
};

// Removes every root and key from the registry folder of the test process.
void EmptyTestRegistry();

} // namespace quarn::test
