#pragma once

#include <chrono>
#include <string>
#include <vector>

namespace quarn::clu::test {

// A stand-in QuarnCLU: records its program path, its arguments, whether it has a session of
// its own and where its input comes from into the file that QUARN_TEST_CLU_RECORD names,
// written whole and then renamed, so that a reader sees all or nothing.
inline constexpr char FakeUtility[] = R"sh(#!/bin/sh
{
    echo "program $0"
    for a in "$@"; do echo "arg $a"; done
    [ "$(cut -d" " -f6 /proc/$$/stat)" = "$$" ] && echo "own session"
    echo "input $(readlink /proc/$$/fd/0)"
} > "$QUARN_TEST_CLU_RECORD.part"
mv "$QUARN_TEST_CLU_RECORD.part" "$QUARN_TEST_CLU_RECORD"
)sh";
inline constexpr char FakeUtilityRecord[] = "QUARN_TEST_CLU_RECORD";

// What the stand-in records when it was started detached as utility with args.
std::string DetachedStart(const std::string& utility, const std::vector<std::string>& args);

// Writes an executable file.
void MakeProgram(const std::string& path, const std::string& text);

// The file's bytes once it exists; "" when it did not appear within patience.
std::string WaitForFile(const std::string& path,
                        std::chrono::milliseconds patience = std::chrono::seconds(10));

struct ProgramRun {
    int exitCode = -1;  // -2: ended by a signal
    std::string output; // what it wrote to stdout and stderr
};

// Runs program with args (raw bytes) in folder and waits for it. environment entries
// ("NAME=value") replace those of this process.
ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& folder, const std::vector<std::string>& environment);

} // namespace quarn::clu::test
