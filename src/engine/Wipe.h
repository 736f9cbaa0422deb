#pragma once

#include "engine/EngineOptions.h"
#include "engine/ReadSource.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quarn {

class FileWorkView;

// Each pass writes the file front to back in blocks of this size, the last one shorter; the
// bar moves and the cancel flag is tested at every block. Larger blocks cost nothing worth
// speaking of and write as fast as the device takes them: 4096-byte blocks made a pass 1.4
// times as slow as dd with 1 MiB blocks.
inline constexpr std::size_t WipeBlockSize = std::size_t{1} << 16;

// The byte of every pass of one round, and how many rounds: FastWipe gives one pass of the
// low byte of HexValue, otherwise 0x00, 0xFF and that byte. WipeCount is held to 1..100.
struct WipePlan {
    std::vector<std::uint8_t> passBytes;
    int rounds = 1;
};
WipePlan MakeWipePlan(const EngineOptions& options);

// Message wording: after an encryption ("the original file") or of a wipe command.
enum class WipeWording { OriginalFile, ListedFile };

enum class WipeOutcome {
    Missing,   // nothing at path, or a folder: passed over silently
    Failed,    // a message was shown (also for a link, FIFO, socket or device, or a file that
               // changed meanwhile); the entry keeps its name
    Cancelled, // the file keeps its name, overwritten as far as the passes came
    Empty,     // nothing was written (an empty file), then renamed and deleted
    Wiped,     // every pass is on disk, then renamed and deleted (or the messages of a
               // rename or deletion that failed)
};

// Overwrites path by the plan through one open, exclusively locked descriptor, flushing every
// pass to the device (a failing flush fails the wipe), renames it to folder + a fresh GUID
// text without replacing anything and deletes it. Nothing but a regular file is ever opened,
// renamed or deleted: a symbolic link is refused as not a regular file, and neither it nor its
// target changes. A file that another program replaced or resized while it was wiped is not
// renamed or deleted. Reports on the view's file bar and messages. The flushes, the rename and
// the deletion are waited for on a helper thread while the window answers.
WipeOutcome WipeOneFile(FileWorkView& view, const std::string& path, const std::string& folder,
                        const WipePlan& plan, WipeWording wording);

// The same for the source of a completed encryption, through its own descriptor (reopened for
// writing, never the path again), and only while its path still holds that file as it was
// when the read began; otherwise it is kept with a message.
WipeOutcome WipeReadFile(FileWorkView& view, ReadSource source, const std::string& folder,
                         const WipePlan& plan, WipeWording wording);

} // namespace quarn
