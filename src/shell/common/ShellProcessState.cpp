#include "shell/common/ShellProcessState.h"

namespace quarn {

const std::string& ShellIdListFormat() {
    static const std::string format = "application/x-quarn-shell-idlist-array";
    return format;
}

TMemoryStream& ColumnWidthStream() {
    static TMemoryStream stream;
    return stream;
}

std::array<std::uint8_t, 22>& ColumnDefaults() {
    static std::array<std::uint8_t, 22> defaults{};
    return defaults;
}

const HoverMetrics& MouseHoverMetrics() {
    static const HoverMetrics metrics;
    return metrics;
}

} // namespace quarn
