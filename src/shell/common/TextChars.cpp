#include "shell/common/TextChars.h"

namespace quarn {

namespace {

bool IsContinuationByte(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

// The byte count of the character that a lead byte starts; 1 for anything else.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 1;
}

} // namespace

std::string AppendCharIfMissing(const std::string& text, char c) {
    if (text.empty() || text.back() == c) {
        return text;
    }
    return text + c;
}

// position is 1-based. A character of several bytes moves as a whole; a broken sequence
// moves only the bytes that belong to it.
void AppendCharAt(std::size_t& position, const std::string& text, std::string& target) {
    if (position < 1 || position > text.size()) {
        return;
    }
    const std::size_t start = position - 1;
    std::size_t length = 1;
    const std::size_t wanted = SequenceLength(static_cast<unsigned char>(text[start]));
    while (length < wanted && start + length < text.size() &&
           IsContinuationByte(static_cast<unsigned char>(text[start + length]))) {
        ++length;
    }
    target.append(text, start, length);
    position += length;
}

} // namespace quarn
