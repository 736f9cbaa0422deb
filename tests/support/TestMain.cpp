// The main of the test programs that run without a display.
#include "TestHome.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    quarn::test::PrivateTestHome home;
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
