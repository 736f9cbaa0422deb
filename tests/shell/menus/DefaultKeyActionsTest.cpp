// The one switch of the controls' default keys.
#include "shell/menus/DefaultKeyActions.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace quarn::test {
namespace {

using Calls = std::vector<std::string>;

// Every action notes its call.
TSCDefaultKeyActions Noting(Calls& calls) {
    return {.selectAll = [&] { calls.push_back("selectAll"); },
            .rename = [&] { calls.push_back("rename"); },
            .refresh = [&] { calls.push_back("refresh"); },
            .itemVerb = [&](const std::string& verb) { calls.push_back("item " + verb); },
            .folderVerb = [&](const std::string& verb) { calls.push_back("folder " + verb); },
            .afterChange = [&] { calls.push_back("afterChange"); }};
}

TEST(RunDefaultKey, EachKeyRunsItsActionAndIsConsumed) {
    const struct {
        int key;
        Qt::KeyboardModifiers modifiers;
        Calls calls;
    } cases[] = {
        {Qt::Key_A, Qt::ControlModifier, {"selectAll"}},
        {Qt::Key_F2, Qt::NoModifier, {"rename"}},
        {Qt::Key_F5, Qt::NoModifier, {"refresh"}},
        {Qt::Key_C, Qt::ControlModifier, {"item copy"}},
        {Qt::Key_X, Qt::ControlModifier, {"item cut"}},
        {Qt::Key_V, Qt::ControlModifier, {"folder paste", "afterChange"}},
        {Qt::Key_Delete, Qt::NoModifier, {"item delete", "afterChange"}},
        {Qt::Key_Delete, Qt::ShiftModifier, {"item delete", "afterChange"}},
        {Qt::Key_F3, Qt::NoModifier, {}},
        {Qt::Key_C, Qt::NoModifier, {}},
    };
    for (const auto& c : cases) {
        Calls calls;
        int key = c.key;
        RunDefaultKey(key, c.modifiers, Noting(calls));
        EXPECT_EQ(calls, c.calls) << c.key;
        EXPECT_EQ(key, c.calls.empty() ? c.key : 0) << c.key;
    }
}

TEST(RunDefaultKey, AKeyWithoutAnActionIsLeftToTheView) {
    Calls calls;
    TSCDefaultKeyActions actions = Noting(calls);
    actions.selectAll = nullptr;
    int key = Qt::Key_A;
    RunDefaultKey(key, Qt::ControlModifier, actions);
    EXPECT_EQ(key, Qt::Key_A);
    EXPECT_EQ(calls, Calls{});
}

} // namespace
} // namespace quarn::test
