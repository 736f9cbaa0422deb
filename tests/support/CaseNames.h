#pragma once

#include <gtest/gtest.h>
#include <string>

namespace quarn::test {

// The name of a parameterised case: the `label` of its parameter, or its `name`.
struct CaseName {
    template <typename Case>
    std::string operator()(const testing::TestParamInfo<Case>& info) const {
        if constexpr (requires { info.param.label; }) {
            return std::string(info.param.label);
        } else {
            return std::string(info.param.name);
        }
    }
};

} // namespace quarn::test
