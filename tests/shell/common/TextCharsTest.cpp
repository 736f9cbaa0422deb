// Characters of texts in the system code page.
#include "shell/common/TextChars.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

namespace quarn::test {
namespace {

TEST(TextChars, AppendCharIfMissing) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"/", "/"},
        {"/home/me", "/home/me/"},
        {"/home/me/", "/home/me/"},
        {"C:", "C:/"},
        {"caf\xc3\xa9", "caf\xc3\xa9/"},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_EQ(AppendCharIfMissing(text, '/'), expected) << text;
    }
    EXPECT_EQ(AppendCharIfMissing("C:", '\\'), "C:\\");
    EXPECT_EQ(AppendCharIfMissing("C:\\", '\\'), "C:\\");
}

TEST(TextChars, AppendCharAtMovesWholeCharacters) {
    const std::string text = "a\xc3\xa9;\xe2\x82\xac\xff\xc3;";
    std::vector<std::string> pieces;
    for (std::size_t position = 1; position <= text.size();) {
        std::string piece;
        AppendCharAt(position, text, piece);
        pieces.push_back(piece);
    }
    EXPECT_EQ(pieces, (std::vector<std::string>{"a", "\xc3\xa9", ";", "\xe2\x82\xac", "\xff",
                                                "\xc3", ";"}));
}

} // namespace
} // namespace quarn::test
