#include "app/SizeFormat.h"

#include <cstdint>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>

namespace quarn {
namespace {

constexpr std::uint64_t KiB = 1024;
constexpr std::uint64_t MiB = KiB * 1024;
constexpr std::uint64_t GiB = MiB * 1024;

TEST(FormatSize, EachRowAndItsEdges) {
    const std::pair<std::uint64_t, const char*> cases[] = {
        {0, "0 bytes"},
        {999, "999 bytes"},
        {1000, "0.97 KB"},
        {1536, "1.50 KB"},
        {1047552, "1023 KB"},
        {MiB - 1, "1023 KB"}, // 1023.999: cut, not rounded
        {MiB, "1.00 MB"},
        {GiB - 1, "1024 MB"}, // the fixed notation rounds 1023.9999990 up
        {GiB, "1.00 GB"},
        {2 * GiB, "2.00 GB"}, // beyond a signed 32-bit count
        {3 * GiB, "3.00 GB"},
        {4 * GiB, "4.00 GB"},    // beyond an unsigned one
        {5000 * GiB, "5000 GB"}, // the GB row takes everything larger
        {std::numeric_limits<std::uint64_t>::max(), "17179869184 GB"},
    };
    for (const auto& [count, text] : cases) {
        SCOPED_TRACE(count);
        EXPECT_EQ(FormatSize(count), text);
    }
}

TEST(GetSignificantDigits, CutsTheFixedNotation) {
    const std::tuple<int, double, const char*> cases[] = {
        {3, 15.25, "15.2"},      {3, 150.7, "150"},
        {3, 1023.5, "1023"},     {3, 0.9765625, "0.97"},
        {1, 0.5, "0"},           {1, 7.25, "7"},
        {2, 9.999, "10"},        {16, 1.5, "1.500000000000000"},
        {3, 123456.0, "123456"},
    };
    for (const auto& [digits, value, text] : cases) {
        SCOPED_TRACE(testing::Message() << digits << " " << value);
        EXPECT_EQ(GetSignificantDigits(digits, value), text);
    }
}

TEST(GetSignificantDigits, RefusesDigitCountsOutsideOneToSixteen) {
    for (const int digits : {0, -1, 17}) {
        SCOPED_TRACE(digits);
        try {
            GetSignificantDigits(digits, 1.0);
            ADD_FAILURE() << "no error";
        } catch (const std::out_of_range& error) {
            EXPECT_STREQ(error.what(), "GetSignificantDigits: Significant digits out of range.");
        }
    }
}

} // namespace
} // namespace quarn
