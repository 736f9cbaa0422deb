#pragma once

// What the command a control's context menu returned asks for.

namespace quarn {

struct TSCMenuCommand {
    enum Kind { None, SendTo, Rename, Verb };
    Kind kind = None;
    int index = 0; // SendTo: the entry of the Send To folder; Verb: the command's offset
};

// Identifiers below the shell's first command are the Send To entries (entry i is i + 1), the
// shell's rename command is the control's own in-place rename, and every other identifier from
// the first on is a verb of the menu. 0 (a dismissed menu) asks for nothing.
TSCMenuCommand DecodeMenuCommand(int command);

} // namespace quarn
