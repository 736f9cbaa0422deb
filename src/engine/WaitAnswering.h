#pragma once

#include "platform/FileOperationResult.h"

#include <functional>

namespace quarn {

class FileWorkView;

// Runs work on a helper thread while the calling (interface) thread keeps processing the
// window's messages, once at the start and then every MessagePacer::Interval until work has
// ended; answers what work answered. For the waits of a file operation that may take long
// (a flush, the removal of a large file): the window keeps repainting and Cancel keeps
// working meanwhile. work must touch nothing that a message handler may touch. The helper
// thread has always ended when this returns, also when message processing throws.
FileOperationResult WaitAnswering(FileWorkView& view,
                                  const std::function<FileOperationResult()>& work);

} // namespace quarn
