// The desktop's opener: started without waiting, its failure learnt from its exit status.
#include "platform/gui/DesktopOpener.h"

#include "FakeOpener.h"
#include "ScopedEnvironment.h"
#include "TestFiles.h"

#include <QTest>
#include <gtest/gtest.h>

namespace quarn {
namespace {

using test::FakeOpener;

// Bytes that are no UTF-8 reach the opener as they are.
const std::string Target = "file:///tmp/caf\xe9 %E9.txt";

TEST(DesktopOpener, HandsTheTargetOverAndIsSilentWhenTheOpenerSucceeds) {
    FakeOpener opener(0);
    int failures = 0;
    OpenWithDesktop(Target, [&] { ++failures; });
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    EXPECT_EQ(opener.Opened(), std::vector<std::string>{Target});
    EXPECT_EQ(failures, 0);
}

// The call returns while the opener runs; its failure comes from the event loop when it ends.
TEST(DesktopOpener, AFailureIsLearntWhenTheOpenerEnds) {
    FakeOpener opener(3);
    opener.Hold();
    int failures = 0;
    OpenWithDesktop(Target, [&] { ++failures; });
    ASSERT_TRUE(QTest::qWaitFor([&] { return opener.Opened().size() == 1; }));
    QCoreApplication::processEvents();
    EXPECT_EQ(failures, 0) << "the opener still runs";
    opener.Release();
    ASSERT_TRUE(QTest::qWaitFor([&] { return failures > 0; }));
    ASSERT_TRUE(FakeOpener::WaitUntilEnded());
    EXPECT_EQ(failures, 1);
}

TEST(DesktopOpener, AnOpenerThatCannotStartFailsAtOnce) {
    const test::TempDir empty;
    const test::ScopedEnvironment path("PATH", empty.Path().string());
    int failures = 0;
    OpenWithDesktop(Target, [&] { ++failures; });
    EXPECT_EQ(failures, 1);
    EXPECT_TRUE(FakeOpener::WaitUntilEnded(0));
}

} // namespace
} // namespace quarn
