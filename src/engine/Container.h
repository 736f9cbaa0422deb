#pragma once

#include "engine/ReadSource.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace quarn {

class FileWorkView;
class TRijndael;

// The text folded into the IV of every ".zot!" file, the same in both programs.
inline constexpr std::string_view ContainerIVSeed = "{4E7A19C2-5B30-4D86-9F1E-07C3A8B2D615}";

// What one per-file procedure reports back to the loop that runs it.
struct ContainerResult {
    // Encrypted or decrypted: the output is complete, on disk and under its final name. Only
    // then may the caller delete or wipe the source.
    bool done = false;
    // The chunk (data) loop was reached: the output had been created. The overall bar moves
    // for such a file whatever its outcome.
    bool dataLoopRan = false;
    // Where the output went when done (after every name-clash step); else empty.
    std::string outputPath;
    // The source that was read, when done: what the caller may then delete or wipe, while it
    // is still that file, unchanged.
    ReadSource source;
};

// Settles the name of an output: called by the reader between parsing the header and creating
// the output, with the proposed path (output folder + stored name), and by both procedures
// when the output is complete but another program has taken its name meanwhile, with that
// path. Answers a path that is free now, or nothing to skip the file (after whatever message
// the caller shows). The path must lie in an existing folder; an existing file there is never
// replaced, so a caller that settles a clash by overwriting deletes the old file first.
using ChooseOutputPath = std::function<std::optional<std::string>(const std::string& path)>;

// Encrypts sourcePath into a new container at outputPath, or where chooseOutputPath answers
// when that name is taken by the time the container is complete. name is stored in the
// container and stands for <name> in the messages (the source's name as selected). The
// procedure keys the cipher itself (CBC, AES-256, the IV seed, the password) and resets it on
// every path. No output exists under any name unless the result is done, also after a cancel,
// a failure or a kill. Every failure shows one warning through view.Messages(); an empty
// source ends silently. A symbolic link is never followed: it is not a regular file. EKeyError
// from SetKey (an empty password or one of 256 bytes or more) escapes before anything is
// touched.
ContainerResult WriteContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                               const std::string& outputPath, const std::string& name,
                               const std::string& password,
                               const ChooseOutputPath& chooseOutputPath);

// Decrypts the container at sourcePath into outputFolder (a folder path, its trailing "/"
// optional) under its stored name, or the path chooseOutputPath answers. name stands for
// <name> in the messages. Keying, reset, messages and the output guarantee as for
// WriteContainer.
ContainerResult ReadContainer(TRijndael& cipher, FileWorkView& view, const std::string& sourcePath,
                              const std::string& outputFolder, const std::string& name,
                              const std::string& password,
                              const ChooseOutputPath& chooseOutputPath);

} // namespace quarn
