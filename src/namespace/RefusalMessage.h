#pragma once

#include <string>

namespace quarn {

// The message box of one item that an operation on several items refused. While more items
// follow it offers Cancel beside OK: OK goes on with the next item, Cancel ends the operation
// there. Answers whether the operation goes on.
bool ShowRefusal(const std::string& message, bool moreFollow);

} // namespace quarn
