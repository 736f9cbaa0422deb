#pragma once

namespace quarn::test {

// From here on, in this process, files opened with O_TMPFILE fail with EOPNOTSUPP, as on a file
// system that has no unnamed files (vfat, FUSE). A seccomp filter, which cannot be undone: call
// it in a child process only. False where no filter can be installed.
bool RefuseUnnamedFiles();

} // namespace quarn::test
