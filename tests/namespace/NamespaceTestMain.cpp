// The namespace tests run in a private temporary home, without a display.
#include "TestFiles.h"

#include <gtest/gtest.h>

int main(int argc, char** argv) {
    quarn::test::PointEnvironmentAtTestRoot();
    testing::InitGoogleTest(&argc, argv);
    const int result = RUN_ALL_TESTS();
    quarn::test::RemoveTestRoot();
    return result;
}
