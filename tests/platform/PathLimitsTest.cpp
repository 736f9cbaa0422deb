// Paths from outside are checked against the system's limits before anything is done with them.
#include "platform/PathLimits.h"

#include <gtest/gtest.h>
#include <string>

namespace quarn::test {
namespace {

TEST(WithinPathLimits, TakesWhatTheSystemTakesAndNothingLonger) {
    const std::string name255(255, 'n');
    const struct {
        std::string path;
        bool within;
    } cases[] = {
        {"/", true},
        {"/a/b/", true},
        {"/" + name255 + "/x", true},
        {"/" + name255 + "n/x", false},
        {"/x/" + name255 + "n", false},
        {name255 + "n", false},
        {"/" + std::string(4094, 'a'), false}, // a name too long as well
        {std::string(4095, '/'), true},
        {std::string(4096, '/'), false},
        {std::string(1 << 20, 'a'), false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(WithinPathLimits(c.path), c.within) << c.path.size() << " bytes";
    }
}

} // namespace
} // namespace quarn::test
