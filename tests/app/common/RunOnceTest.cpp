#include "ScriptedMessages.h"
#include "app/common/KVBRunOnce.h"
#include "platform/gui/Application.h"

#include <QElapsedTimer>
#include <QTest>
#include <QWidget>
#include <QWindow>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>
#include <thread>

namespace quarn {
namespace {

using test::ScopedScriptedMessages;

// Waits until the count reaches want or a generous time has passed.
bool WaitForCount(const int& count, int want, int timeout = 5000) {
    return QTest::qWaitFor([&] { return count >= want; }, timeout);
}

TEST(RunOnce, RunsOnceFromTheEventLoopHoweverOftenRunIsCalled) {
    TKVBRunOnce runOnce;
    int runs = 0;
    TKVBRunOnce* sender = nullptr;
    runOnce.SetOnRun([&](TKVBRunOnce& s) {
        ++runs;
        sender = &s;
        // Processing messages inside OnRun must not run it again.
        runOnce.Run();
        QTest::qWait(20);
    });
    EXPECT_FALSE(runOnce.Ran());
    runOnce.Run();
    runOnce.Run();
    EXPECT_TRUE(runOnce.Ran());
    EXPECT_EQ(runs, 0) << "runs from the event loop, not inside Run";
    ASSERT_TRUE(WaitForCount(runs, 1));
    QTest::qWait(50);
    runOnce.Run();
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
    EXPECT_EQ(sender, &runOnce);
}

TEST(RunOnce, NothingRunsWithoutRun) {
    TKVBRunOnce runOnce;
    int runs = 0;
    runOnce.SetOnRun([&](TKVBRunOnce&) { ++runs; });
    QTest::qWait(50);
    EXPECT_EQ(runs, 0);
    EXPECT_FALSE(runOnce.Ran());
}

TEST(RunOnce, OnRunAssignedAfterRunArmsTheTimer) {
    TKVBRunOnce runOnce;
    runOnce.Run();
    QTest::qWait(20);
    int runs = 0;
    runOnce.SetOnRun([&](TKVBRunOnce&) { ++runs; });
    EXPECT_TRUE(WaitForCount(runs, 1));
}

TEST(RunOnce, DestroyedBeforeTheTimerFiresRunsNothing) {
    int runs = 0;
    auto runOnce = std::make_unique<TKVBRunOnce>();
    runOnce->SetOnRun([&](TKVBRunOnce&) { ++runs; });
    runOnce->Run();
    runOnce.reset();
    QTest::qWait(50);
    EXPECT_EQ(runs, 0);
}

TEST(RunOnce, WaitsForThePauseAndAChangedPauseRestartsTheDelay) {
    TKVBRunOnce runOnce;
    int runs = 0;
    QElapsedTimer sincePauseChange;
    qint64 elapsedAtRun = -1;
    runOnce.SetOnRun([&](TKVBRunOnce&) {
        ++runs;
        elapsedAtRun = sincePauseChange.elapsed();
    });
    // Without a restart the run would come 300 ms (old delay) or 400 ms (new delay counted
    // from Run) after the change.
    runOnce.SetPause(400);
    runOnce.Run();
    QTest::qWait(100);
    EXPECT_EQ(runs, 0);
    sincePauseChange.start();
    runOnce.SetPause(500);
    ASSERT_TRUE(WaitForCount(runs, 1));
    EXPECT_GE(elapsedAtRun, 500);
}

TEST(RunOnce, AnExceptionInOnRunGoesToTheErrorReportAndDisarms) {
    ScopedScriptedMessages messages;
    TKVBRunOnce runOnce;
    int runs = 0;
    runOnce.SetOnRun([&](TKVBRunOnce&) {
        ++runs;
        throw std::runtime_error("Start-up failed");
    });
    runOnce.Run();
    ASSERT_TRUE(WaitForCount(runs, 1));
    QTest::qWait(50);
    EXPECT_EQ(runs, 1);
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_EQ(messages->shown[0].kind, MessageKind::Error);
    EXPECT_EQ(messages->shown[0].text, "Start-up failed");
}

TEST(RunOnce, ArmingWithoutAnEventLoopRaisesTheTimerError) {
    std::string error;
    std::thread worker([&] {
        TKVBRunOnce runOnce;
        runOnce.SetOnRun([](TKVBRunOnce&) {});
        try {
            runOnce.Run();
        } catch (const std::runtime_error& e) {
            error = e.what();
        }
    });
    worker.join();
    EXPECT_EQ(error, "Not enough timers available");
}

// A window whose show handler starts the run-once timer, as both main windows do.
class StartingWindow : public QWidget {
public:
    StartingWindow() {
        runOnce_.RunWhenExposed(this);
        runOnce_.SetOnRun([this](TKVBRunOnce&) {
            ++runs;
            exposedAtRun = windowHandle() != nullptr && windowHandle()->isExposed();
        });
    }
    int runs = 0;
    bool exposedAtRun = false;

protected:
    void showEvent(QShowEvent* event) override {
        QWidget::showEvent(event);
        runOnce_.Run();
    }

private:
    TKVBRunOnce runOnce_{this};
};

TEST(RunOnce, StartedFromAShowHandlerRunsOnceTheWindowIsOnScreen) {
    StartingWindow window;
    window.resize(200, 100);
    window.show();
    ASSERT_TRUE(WaitForCount(window.runs, 1));
    EXPECT_TRUE(window.exposedAtRun);
}

TEST(RunOnce, AWindowThatIsNeverExposedStillRunsAfterTheTimeout) {
    StartingWindow window;
    window.setAttribute(Qt::WA_DontShowOnScreen);
    QElapsedTimer sinceShow;
    sinceShow.start();
    window.show();
    ASSERT_TRUE(WaitForCount(window.runs, 1, TKVBRunOnce::ExposeTimeout + 5000));
    EXPECT_GE(sinceShow.elapsed(), TKVBRunOnce::ExposeTimeout);
    EXPECT_FALSE(window.exposedAtRun);
}

} // namespace
} // namespace quarn
