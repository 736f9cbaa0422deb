#pragma once

namespace quarn {

// How the file list shows its items.
enum class TViewStyle { vsIcon, vsSmallIcon, vsList, vsReport };

} // namespace quarn
