// The main of the test programs that show widgets: an offscreen application and the Qt
// message boxes, as each program's main sets them up.
#include "TestHome.h"
#include "platform/gui/QtMessageService.h"

#include <QApplication>
#include <clocale>
#include <cstdlib>
#include <gtest/gtest.h>
#include <memory>

int main(int argc, char** argv) {
    quarn::test::PrivateTestHome home;
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
