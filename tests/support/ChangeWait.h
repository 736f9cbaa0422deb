#pragma once

namespace quarn::test {

// How long a test waits for a change that another thread or the disk brings, in milliseconds:
// long enough for a loaded machine, and spent only when the test fails.
inline constexpr int ChangeWaitMs = 10'000;

} // namespace quarn::test
