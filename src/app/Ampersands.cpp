#include "app/Ampersands.h"

namespace quarn {

std::string EscapeAmpersands(const std::string& text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (const char c : text) {
        escaped += c;
        if (c == '&') {
            escaped += '&';
        }
    }
    return escaped;
}

} // namespace quarn
