#pragma once

#include <string>

namespace quarn {

// Removes what staged files of a writer that was killed left in folder: "quarn-XXXXXX.part"
// files whose staging lock can be taken (StagingLock.h). Each is overwritten with zeros and
// flushed first, since it may hold the start of a decrypted file. Only regular files of this
// user are touched, never through a link, and only while the name still holds the file that
// was locked. A folder that cannot be listed has nothing removed.
void RemoveAbandonedStagedFiles(const std::string& folder);

} // namespace quarn
