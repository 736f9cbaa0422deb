// The application's minimize and restore: only its counted windows minimize it.
#include "platform/gui/ApplicationEvents.h"

#include <QMainWindow>
#include <gtest/gtest.h>

namespace quarn {
namespace {

class ApplicationEventsTest : public testing::Test {
protected:
    ApplicationEventsTest() {
        TApplicationEvents::CountWindow(main_);
        events_.OnMinimize = [this] { ++minimizes_; };
        events_.OnRestore = [this] { ++restores_; };
        main_.show();
        help_.show();
    }

    TApplicationEvents events_;
    QMainWindow main_; // counted, as the main window and the progress dialog are
    QMainWindow help_; // a window of its own, as the help window is
    int minimizes_ = 0;
    int restores_ = 0;
};

TEST_F(ApplicationEventsTest, AnUncountedWindowIsMinimizedAndRestoredAlone) {
    help_.showMinimized();
    EXPECT_TRUE(help_.isMinimized());
    EXPECT_FALSE(events_.Minimized());
    EXPECT_FALSE(main_.isMinimized());
    help_.showNormal();
    EXPECT_EQ(minimizes_ + restores_, 0);
}

TEST_F(ApplicationEventsTest, ACountedWindowMinimizesAndRestoresTheApplication) {
    main_.showMinimized();
    EXPECT_TRUE(events_.Minimized());
    EXPECT_TRUE(help_.isMinimized());
    EXPECT_EQ(minimizes_, 1);
    help_.showNormal();
    EXPECT_TRUE(events_.Minimized()) << "the help window's restore is its own";
    main_.showNormal();
    EXPECT_FALSE(events_.Minimized());
    EXPECT_EQ(restores_, 1);
}

} // namespace
} // namespace quarn
