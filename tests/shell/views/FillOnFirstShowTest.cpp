// A control's fill after its first show.
#include "shell/views/FillOnFirstShow.h"

#include "CaseNames.h"

#include <QApplication>
#include <QWidget>
#include <gtest/gtest.h>

namespace quarn::test {
namespace {

struct FillCase {
    const char* name;
    bool autoFills;
    bool filledBeforeTheEventLoop; // the application filled right after showing
    int fills;
};

void PrintTo(const FillCase& param, std::ostream* out) {
    *out << param.name;
}

class FillOnFirstShow : public ::testing::TestWithParam<FillCase> {};

TEST_P(FillOnFirstShow, FillsOnceFromTheEventLoopWhenStillEmpty) {
    const FillCase& c = GetParam();
    QWidget control;
    int items = 0;
    int fills = 0;
    int shown = 0;
    const auto fill = [&] {
        ++fills;
        items = 3;
    };
    auto* first = new TSCFillOnFirstShow(control, {.autoFills = [&] { return c.autoFills; },
                                                   .empty = [&] { return items == 0; },
                                                   .fill = fill,
                                                   .shown = [&] { ++shown; }});
    EXPECT_FALSE(first->Shown());
    control.show();
    EXPECT_TRUE(first->Shown());
    EXPECT_EQ(fills, 0) << "the fill waits for the event loop";
    if (c.filledBeforeTheEventLoop) {
        items = 1;
    }
    QApplication::processEvents();
    control.hide();
    items = 0;
    control.show();
    QApplication::processEvents();
    EXPECT_EQ(fills, c.fills);
    EXPECT_EQ(shown, 1) << "only the first show counts";
}

INSTANTIATE_TEST_SUITE_P(Cases, FillOnFirstShow,
                         ::testing::Values(FillCase{"Empty", true, false, 1},
                                           FillCase{"FilledMeanwhile", true, true, 0},
                                           FillCase{"NoAutoFill", false, false, 0}),
                         CaseName());

} // namespace
} // namespace quarn::test
