#pragma once

namespace quarn {

// The rule for an entry that is staged under a name of its own while it is written (a
// "quarn-XXXXXX.part" file, a staging folder) and must not outlive its writer. The writer
// takes the staging lock on the entry right after making it and holds it, through that
// descriptor, until the entry has its final name or is gone; the lock ends with the
// descriptor, so also with the writer's process, however that ends. A staging entry whose lock
// can be taken is therefore a dead writer's, and whoever takes it may overwrite and remove it:
// first checking that the name still holds the entry it locked.
//
// A writer that finds its brand-new entry's lock held has met a later run that claimed the
// entry in the moment between making and locking it: it leaves the entry to that run and makes
// another.
enum class StagingLock {
    Taken,       // the caller's descriptor holds it now
    Held,        // another descriptor holds it: its writer is alive
    Unavailable, // the file system keeps no such locks: nobody can tell, so nobody removes
};

// Takes the staging lock on fd, a file or a folder opened in any mode, without waiting. The
// lock belongs to fd's open file description: another open of the same entry, also in the
// same process, does not get it while fd holds it.
StagingLock TakeStagingLock(int fd);

} // namespace quarn
