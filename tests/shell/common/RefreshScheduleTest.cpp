// When the shell controls refresh after change notices, on a clock of the test's own.
#include "shell/common/RefreshSchedule.h"

#include "CaseNames.h"

#include <QTest>
#include <QTimer>
#include <cstdint>
#include <gtest/gtest.h>
#include <ostream>
#include <vector>

namespace quarn::test {
namespace {

class RefreshScheduleTest : public ::testing::Test {
protected:
    // When the timer's refresh is due, on the test's clock.
    std::int64_t Due() const { return now + schedule.Timer().interval(); }
    void NoticeAt(std::int64_t time, bool focused = true) {
        now = time;
        schedule.Notice(focused);
    }

    std::int64_t now = 0;
    bool waiting = false;
    int refreshes = 0;
    int keptRuns = 0;
    RefreshSchedule schedule{{.mustWait = [this] { return waiting; },
                              .refresh = [this] { ++refreshes; },
                              .runKept = [this] { ++keptRuns; }},
                             [this] { return now; }};
};

struct StreamCase {
    const char* label;
    bool focused;
    std::vector<std::int64_t> notices;
    std::vector<std::int64_t> due; // after each notice
};

void PrintTo(const StreamCase& stream, std::ostream* out) {
    *out << stream.label;
}

class RefreshScheduleNotices : public RefreshScheduleTest,
                               public ::testing::WithParamInterface<StreamCase> {};

// The delay after the last notice, at most twice the delay after the first.
TEST_P(RefreshScheduleNotices, TheRefreshFollowsTheLastNoticeWithinALimitFromTheFirst) {
    const StreamCase& stream = GetParam();
    std::vector<std::int64_t> due;
    for (const std::int64_t time : stream.notices) {
        NoticeAt(time, stream.focused);
        EXPECT_TRUE(schedule.Timer().isActive());
        due.push_back(Due());
    }
    EXPECT_EQ(due, stream.due);
    EXPECT_EQ(refreshes, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Notices, RefreshScheduleNotices,
    ::testing::Values(StreamCase{"Focused", true, {0}, {400}},
                      StreamCase{"Unfocused", false, {0}, {2000}},
                      StreamCase{"FocusedBurst", true, {0, 100}, {400, 500}},
                      StreamCase{"FocusedStream", true, {0, 300, 600, 750}, {400, 700, 800, 800}},
                      StreamCase{"UnfocusedStream", false, {0, 1500, 3000}, {2000, 3500, 4000}}),
    CaseName());

TEST_F(RefreshScheduleTest, TheLimitCountsFromTheFirstNoticeNotYetShown) {
    NoticeAt(0);
    NoticeAt(300);
    now = 350;
    schedule.Flush();
    EXPECT_EQ(refreshes, 1);
    EXPECT_FALSE(schedule.Timer().isActive());
    NoticeAt(700);
    NoticeAt(1000);
    EXPECT_EQ(Due(), 1400) << "counted from 700, not from 0";

    schedule.Cancel();
    EXPECT_FALSE(schedule.Timer().isActive());
    NoticeAt(1200);
    NoticeAt(1500);
    EXPECT_EQ(Due(), 1900) << "a new watch counts from its own first notice";
    schedule.Flush();
    schedule.Flush();
    EXPECT_EQ(refreshes, 2) << "a flush without a due refresh does nothing";
}

// Real time: notices more often than the delay.
TEST(RefreshScheduleRealTime, AStreamOfNoticesIsShownWhileItRuns) {
    int refreshes = 0;
    RefreshSchedule schedule(
        {.mustWait = [] { return false; }, .refresh = [&] { ++refreshes; }, .runKept = [] {}});
    QTimer stream;
    QObject::connect(&stream, &QTimer::timeout, [&] { schedule.Notice(true); });
    stream.start(100);
    EXPECT_TRUE(QTest::qWaitFor([&] { return refreshes > 0; }, 5000));
    EXPECT_TRUE(stream.isActive());
}

TEST_F(RefreshScheduleTest, NoticesAndRequestsWhileTheControlWaitsRunOnceWhenTheWaitEnds) {
    waiting = true;
    NoticeAt(0);
    EXPECT_FALSE(schedule.Timer().isActive());
    EXPECT_TRUE(schedule.Pending());
    EXPECT_TRUE(schedule.Defer());
    schedule.Resume();
    EXPECT_EQ(keptRuns, 0) << "still waiting";
    waiting = false;
    schedule.Resume();
    schedule.Resume();
    EXPECT_EQ(keptRuns, 1);
    EXPECT_FALSE(schedule.Pending());
    EXPECT_FALSE(schedule.Defer());
    EXPECT_EQ(refreshes, 0);
}

TEST_F(RefreshScheduleTest, ATimerDueWhileTheControlWaitsIsKeptAndRunOnce) {
    NoticeAt(0);
    waiting = true;
    schedule.Flush();
    EXPECT_EQ(refreshes, 0);
    EXPECT_TRUE(schedule.Pending());
    NoticeAt(100);
    waiting = false;
    schedule.Resume();
    EXPECT_EQ(keptRuns, 1);

    NoticeAt(200);
    waiting = true;
    EXPECT_TRUE(schedule.Defer());
    waiting = false;
    schedule.Resume();
    EXPECT_EQ(keptRuns, 2);
    EXPECT_FALSE(schedule.Timer().isActive()) << "the kept request showed the notice";
}

TEST_F(RefreshScheduleTest, TheNoticeOfAnOwnRenameIsDroppedWhileItMayStillBeOnItsWay) {
    schedule.ExpectOwnChange();
    NoticeAt(10);
    EXPECT_FALSE(schedule.Timer().isActive());
    EXPECT_FALSE(schedule.ExpectsOwnChange());
    NoticeAt(20);
    EXPECT_TRUE(schedule.Timer().isActive()) << "only the next one";
    schedule.Cancel();

    schedule.ExpectOwnChange();
    NoticeAt(20 + RefreshSchedule::OwnChangeWaitMs);
    EXPECT_TRUE(schedule.Timer().isActive()) << "too late to be the rename's";
    EXPECT_FALSE(schedule.ExpectsOwnChange());

    schedule.ExpectOwnChange();
    schedule.Flush();
    EXPECT_FALSE(schedule.ExpectsOwnChange()) << "the refresh showed the rename";
    NoticeAt(1100);
    EXPECT_TRUE(schedule.Timer().isActive());
}

} // namespace
} // namespace quarn::test
