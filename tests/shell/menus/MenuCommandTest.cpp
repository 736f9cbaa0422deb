// The command a control's context menu returned, decoded.
#include "shell/menus/MenuCommand.h"

#include "namespace/ContextMenu.h"

#include <gtest/gtest.h>

namespace quarn::test {
namespace {

TEST(DecodeMenuCommand, SendToEntriesRenameAndVerbsAtTheirBorders) {
    const int first = static_cast<int>(FirstCommandId);
    const int rename = first + static_cast<int>(RenameCommandOffset);
    const struct {
        int command;
        TSCMenuCommand::Kind kind;
        int index;
    } cases[] = {
        {0, TSCMenuCommand::None, 0},        {-1, TSCMenuCommand::None, 0},
        {1, TSCMenuCommand::SendTo, 0},      {first - 1, TSCMenuCommand::SendTo, first - 2},
        {first, TSCMenuCommand::Verb, 0},    {rename - 1, TSCMenuCommand::Verb, rename - 1 - first},
        {rename, TSCMenuCommand::Rename, 0}, {rename + 1, TSCMenuCommand::Verb, rename + 1 - first},
    };
    for (const auto& c : cases) {
        const TSCMenuCommand decoded = DecodeMenuCommand(c.command);
        EXPECT_EQ(decoded.kind, c.kind) << c.command;
        EXPECT_EQ(decoded.index, c.index) << c.command;
    }
}

} // namespace
} // namespace quarn::test
