// Every test process runs in a private temporary home: registry, XDG folders and HOME
// all point below it, so no test touches the user's files.
#include "TestFiles.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>

int main(int argc, char** argv) {
    quarn::test::PointEnvironmentAtTestRoot();
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    int result = 0;
    {
        QApplication app(argc, argv);
        std::setlocale(LC_NUMERIC, "C");
        testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    quarn::test::RemoveTestRoot();
    return result;
}
