#include "shell/menus/MenuCommand.h"

#include "namespace/ContextMenu.h"

namespace quarn {

TSCMenuCommand DecodeMenuCommand(int command) {
    const int first = static_cast<int>(FirstCommandId);
    if (command <= 0) {
        return {};
    }
    if (command < first) {
        return {TSCMenuCommand::SendTo, command - 1};
    }
    const int offset = command - first;
    if (offset == static_cast<int>(RenameCommandOffset)) {
        return {TSCMenuCommand::Rename};
    }
    return {TSCMenuCommand::Verb, offset};
}

} // namespace quarn
