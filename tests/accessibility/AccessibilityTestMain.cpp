// The main of the accessibility tests: the application on the X server and the accessibility
// bus that on-accessibility-bus gives it, with Qt's bridge to the bus on before any window is
// made, as beside a running screen reader.
#include "TestHome.h"
#include "platform/gui/QtMessageService.h"

#include <QAccessible>
#include <QApplication>
#include <QTest>
#include <clocale>
#include <gtest/gtest.h>
#include <iostream>
#include <memory>

int main(int argc, char** argv) {
    quarn::test::PrivateTestHome home;
    QApplication app(argc, argv);
    std::setlocale(LC_NUMERIC, "C");
    quarn::InstallMessageService(std::make_unique<quarn::QtMessageService>());
    testing::InitGoogleTest(&argc, argv);
    if (!QTest::qWaitFor([] { return QAccessible::isActive(); }, 20000)) {
        std::cerr << "Qt's accessibility bridge is off: run the tests with on-accessibility-bus\n";
        return 1;
    }
    return RUN_ALL_TESTS();
}
