#include "FakeUtility.h"

#include "TestFiles.h"

#include <fcntl.h>
#include <filesystem>
#include <gtest/gtest.h>
#include <spawn.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace quarn::clu::test {

namespace {
std::vector<char*> Pointers(std::vector<std::string>& texts) {
    std::vector<char*> pointers;
    for (auto& text : texts) {
        pointers.push_back(text.data());
    }
    pointers.push_back(nullptr);
    return pointers;
}

bool Replaced(std::string_view entry, const std::vector<std::string>& environment) {
    for (const auto& set : environment) {
        if (entry.starts_with(set.substr(0, set.find('=') + 1))) {
            return true;
        }
    }
    return false;
}
} // namespace

std::string DetachedStart(const std::string& utility, const std::vector<std::string>& args) {
    std::string text = "program " + utility + "\n";
    for (const auto& arg : args) {
        text += "arg " + arg + "\n";
    }
    return text + "own session\ninput /dev/null\n";
}

void MakeProgram(const std::string& path, const std::string& text) {
    quarn::test::WriteFileBytes(path, text);
    std::filesystem::permissions(path, std::filesystem::perms::owner_all);
}

std::string WaitForFile(const std::string& path, std::chrono::milliseconds patience) {
    const auto deadline = std::chrono::steady_clock::now() + patience;
    while (!quarn::test::PathExists(path) && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return quarn::test::PathExists(path) ? quarn::test::ReadFileBytes(path) : std::string();
}

ProgramRun RunProgram(const std::string& program, const std::vector<std::string>& args,
                      const std::string& folder, const std::vector<std::string>& environment) {
    std::vector<std::string> envs = environment;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        if (!Replaced(*entry, environment)) {
            envs.emplace_back(*entry);
        }
    }
    std::vector<std::string> argStrings{program};
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char*> argv = Pointers(argStrings);
    std::vector<char*> envp = Pointers(envs);

    std::string outputFile = (quarn::test::TestRoot() / "output-XXXXXX").string();
    const int outputFd = ::mkostemp(outputFile.data(), O_CLOEXEC);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addchdir_np(&actions, folder.c_str());
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDOUT_FILENO);
    posix_spawn_file_actions_adddup2(&actions, outputFd, STDERR_FILENO);
    pid_t child = 0;
    const int error =
        posix_spawn(&child, program.c_str(), &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ::close(outputFd);
    ProgramRun run;
    if (error == 0) {
        int status = 0;
        ::waitpid(child, &status, 0);
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -2;
        run.output = quarn::test::ReadFileBytes(outputFile);
    } else {
        ADD_FAILURE() << "cannot start " << program;
    }
    ::unlink(outputFile.c_str());
    return run;
}

} // namespace quarn::clu::test
