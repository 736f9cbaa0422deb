#pragma once

namespace quarn::test {

// Seccomp filters that stand in for a file system or a device. They cannot be undone: install
// them in a child process only. Each answers false where no filter can be installed.

// From here on, in this process, files opened with O_TMPFILE fail with EOPNOTSUPP, as on a file
// system that has no unnamed files (vfat, FUSE).
bool RefuseUnnamedFiles();

// From here on, in this process, every call of the system call number fails with error, as a
// failing device makes fdatasync or close fail with EIO.
bool FailSystemCall(long number, int error);

// From here on, this process is killed (SIGSYS) the moment it tries to remove a name
// (unlink, unlinkat): a kill at that very point.
bool KillAtNameRemoval();

} // namespace quarn::test
