#include "ProgramFixture.h"

#include "TestHome.h"

#include <QApplication>

namespace quarn::test {

void ProgramFixture::SetUp() {
    QApplication::setQuitOnLastWindowClosed(false);
    EmptyTestRegistry();
}

} // namespace quarn::test
