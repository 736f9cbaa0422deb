// Texts split at a separator, empty pieces left out.
#include "platform/SplitText.h"

#include <gtest/gtest.h>
#include <string_view>
#include <vector>

namespace quarn::test {
namespace {

TEST(SplitSkippingEmpty, LeavesOutEmptyPiecesWhereverTheyAre) {
    using Pieces = std::vector<std::string_view>;
    const struct {
        std::string_view text;
        Pieces pieces;
    } cases[] = {
        {"", {}},
        {";", {}},
        {";;;", {}},
        {"a", {"a"}},
        {"a;b", {"a", "b"}},
        {";a;;b;", {"a", "b"}},
        {"a b;c", {"a b", "c"}},
        {std::string_view("a\0;b", 4), {std::string_view("a\0", 2), "b"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitSkippingEmpty(c.text, ';'), c.pieces) << c.text;
    }
}

} // namespace
} // namespace quarn::test
