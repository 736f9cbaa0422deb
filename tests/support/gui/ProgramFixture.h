#pragma once

#include <gtest/gtest.h>

namespace quarn::test {

// A test that runs a program's windows in process: it starts with an empty registry, and, as
// in the program, the run ends with the program's window, not with the last box that closes.
class ProgramFixture : public testing::Test {
protected:
    void SetUp() override;
};

} // namespace quarn::test
