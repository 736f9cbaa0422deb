#include "Anchors.h"

#include <spawn.h>
#include <stdexcept>
#include <sys/wait.h>
#include <vector>

extern char** environ;

namespace quarn::bench {

namespace {

// Runs the program (looked up on PATH) and waits; throws unless it exits with 0.
void RunProgram(std::vector<std::string> arguments) {
    std::vector<char*> argv;
    for (std::string& argument : arguments) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    pid_t child = 0;
    if (::posix_spawnp(&child, argv[0], nullptr, nullptr, argv.data(), environ) != 0) {
        throw std::runtime_error("cannot start " + arguments[0]);
    }
    int status = 0;
    if (::waitpid(child, &status, 0) != child || !WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        throw std::runtime_error(arguments[0] + " failed");
    }
}

template <std::size_t Size> std::string Hex(const std::array<std::uint8_t, Size>& bytes) {
    static constexpr char Digits[] = "0123456789abcdef";
    std::string text;
    for (const std::uint8_t byte : bytes) {
        text += Digits[byte >> 4];
        text += Digits[byte & 15];
    }
    return text;
}

} // namespace

void OpensslEnc(bool decrypt, const std::array<std::uint8_t, 32>& key,
                const std::array<std::uint8_t, 16>& iv, const std::string& in,
                const std::string& out) {
    RunProgram({"openssl", "enc", decrypt ? "-d" : "-e", "-aes-256-cbc", "-K", Hex(key), "-iv",
                Hex(iv), "-in", in, "-out", out});
}

void DdOverwrite(const std::string& path, std::int64_t mebibytes) {
    RunProgram({"dd", "if=/dev/zero", "of=" + path, "bs=1M", "count=" + std::to_string(mebibytes),
                "conv=notrunc,fsync", "status=none"});
}

} // namespace quarn::bench
