#include "ScopedEnvironment.h"
#include "TestFiles.h"
#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn {
namespace {

constexpr char Key[] = "SOFTWARE\\Ostrel\\Quarn!";
constexpr int Writes = 150;

std::string ValueText(int writer, int i) {
    return "writer " + std::to_string(writer) + " value " + std::to_string(i) + "\r\n\"odd\"\\";
}

// One program run: open the key, write, close, as each step of Quarn and QuarnCLU does.
int WriteMany(int writer) {
    for (int i = 0; i < Writes; ++i) {
        TRegistry registry;
        if (!registry.OpenKey(Key, true)) {
            return 1;
        }
        registry.WriteString("W" + std::to_string(writer) + "-" + std::to_string(i),
                             ValueText(writer, i));
        registry.WriteInteger("Last" + std::to_string(writer), i);
    }
    return 0;
}

pid_t StartWriter(int writer) {
    const pid_t child = ::fork();
    if (child == 0) {
        int result = 2;
        try {
            result = WriteMany(writer);
        } catch (...) {
        }
        ::_exit(result);
    }
    return child;
}

bool Running(pid_t child, int& status) {
    return ::waitpid(child, &status, WNOHANG) == 0;
}

TEST(RegistryConcurrencyTest, TwoProcessesWritingTheSameKeyLoseNothing) {
    test::TempDir folder;
    test::ScopedEnvironment registryFolder("QUARN_REGISTRY_DIR", folder.Path().string());
    const pid_t writers[] = {StartWriter(0), StartWriter(1)};

    // Meanwhile every read sees a whole file in which no value goes back.
    std::map<std::string, int> seen;
    int status[2] = {0, 0};
    bool running[2] = {true, true};
    while (running[0] || running[1]) {
        for (int w = 0; w < 2; ++w) {
            running[w] = running[w] && Running(writers[w], status[w]);
        }
        TRegistry reader;
        if (!reader.OpenKeyReadOnly(Key)) {
            continue;
        }
        for (const std::string name : {"Last0", "Last1"}) {
            if (reader.ValueExists(name)) {
                const int last = reader.ReadInteger(name);
                EXPECT_GE(last, seen[name]) << name;
                seen[name] = last;
            }
        }
    }
    for (int w = 0; w < 2; ++w) {
        ASSERT_TRUE(WIFEXITED(status[w]) && WEXITSTATUS(status[w]) == 0) << "writer " << w;
    }

    TRegistry reader;
    ASSERT_TRUE(reader.OpenKeyReadOnly(Key));
    for (int w = 0; w < 2; ++w) {
        EXPECT_EQ(reader.ReadInteger("Last" + std::to_string(w)), Writes - 1);
        for (int i = 0; i < Writes; ++i) {
            EXPECT_EQ(reader.ReadString("W" + std::to_string(w) + "-" + std::to_string(i)),
                      ValueText(w, i));
        }
    }
}

} // namespace
} // namespace quarn
