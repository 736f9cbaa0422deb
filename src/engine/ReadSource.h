#pragma once

#include "platform/EntryStamp.h"
#include "platform/PosixFile.h"

namespace quarn {

// The source a per-file procedure read, handed to the loop after success: still open (read
// only, with its shared lock) and stamped as it was when the read began. The loop deletes or
// wipes it only while its path still holds that very file, unchanged (StillStamped), and wipes
// it through this descriptor, never a new open of the path.
struct ReadSource {
    UniqueFd fd;
    EntryStamp stamp;
};

} // namespace quarn
