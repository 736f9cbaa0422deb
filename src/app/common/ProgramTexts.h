#pragma once

// The texts that Quarn and QuarnCLU both show.

namespace quarn {

// The windows' caption and the application's title.
inline constexpr char ProgramCaption[] = "Quarn!";

// The help file, looked for in the program's own folder.
inline constexpr char HelpFileName[] = "Quarn! Help.chm";

// Asked before the selected files are wiped.
inline constexpr char WipeQuestion[] =
    "Wiping a file will permanently overwrite the file's original contents! This procedure "
    "cannot be reversed once started, and the file being wiped is generally not recoverable "
    "by any means.\r\n\r\nWipe the selected files?";

} // namespace quarn
