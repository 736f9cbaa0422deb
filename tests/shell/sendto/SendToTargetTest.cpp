// Files sent to the entries of a Send To folder: a link to a folder copies them there without
// replacing anything, a desktop entry starts its program with their names byte for byte.
#include "shell/sendto/SendToTarget.h"

#include "ScriptedMessages.h"
#include "TestFiles.h"

#include <chrono>
#include <filesystem>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;

class SendToTarget : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(dir / "sendto");
        fs::create_directories(dir / "files");
        fs::create_directories(dir / "target");
    }

    // A program that writes its arguments, each ended by NUL, to the file its first names.
    std::string RecordingProgram() {
        const std::string program = dir / "record";
        WriteFileBytes(program, "#!/bin/sh\nout=\"$1\"; shift\n"
                                "for a in \"$@\"; do printf '%s\\0' \"$a\"; done > \"$out.part\"\n"
                                "mv \"$out.part\" \"$out\"\n");
        ::chmod(program.c_str(), 0755);
        return program;
    }

    // The recorded arguments once the program has written them.
    static std::vector<std::string> Recorded(const std::string& path) {
        for (int i = 0; i < 500 && !PathExists(path); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        std::vector<std::string> arguments;
        const std::string bytes = ReadFileBytes(path);
        for (std::size_t start = 0; start < bytes.size();) {
            const std::size_t end = bytes.find('\0', start);
            arguments.push_back(bytes.substr(start, end - start));
            start = end + 1;
        }
        return arguments;
    }

    TempDir dir;
    ScopedScriptedMessages messages;
};

TEST_F(SendToTarget, ALinkToAFolderCopiesThereAndNeverReplaces) {
    fs::create_directory_symlink(dir / "target", dir / "sendto/Backup");
    WriteFileBytes(dir / "files/new.txt", "new");
    WriteFileBytes(dir / "files/taken.txt", "mine");
    WriteFileBytes(dir / "target/taken.txt", "theirs");
    SendFilesTo(dir / "sendto/Backup", {dir / "files/taken.txt", dir / "files/new.txt"});
    EXPECT_EQ(ReadFileBytes(dir / "target/new.txt"), "new");
    EXPECT_EQ(ReadFileBytes(dir / "target/taken.txt"), "theirs");
    EXPECT_EQ(ReadFileBytes(dir / "files/taken.txt"), "mine");
    ASSERT_EQ(messages->shown.size(), 1u);
    EXPECT_THAT(messages->shown[0].text, HasSubstr("taken.txt"));
    EXPECT_EQ(FolderNames(dir.Path() / "target"), (std::set<std::string>{"new.txt", "taken.txt"}));
}

TEST_F(SendToTarget, ADesktopEntryStartsItsProgramWithTheRawNames) {
    const std::string raw = dir / "files/\xff\xfe \"quoted\" $name";
    const std::string plain = dir / "files/plain.txt";
    WriteFileBytes(dir / "sendto/Record.desktop",
                   "[Desktop Entry]\nType=Application\nName=Record\nExec=" + RecordingProgram() +
                       " " + (dir / "out") + " --first %F\n");
    SendFilesTo(dir / "sendto/Record.desktop", {raw, plain});
    EXPECT_THAT(Recorded(dir / "out"), ElementsAre("--first", raw, plain));
    EXPECT_TRUE(messages->shown.empty());
}

TEST_F(SendToTarget, WhatCannotBeSentIsShown) {
    WriteFileBytes(dir / "sendto/plain.txt", "");
    WriteFileBytes(dir / "sendto/Broken.desktop", "[Desktop Entry]\nType=Application\nExec=x \"\n");
    WriteFileBytes(dir / "sendto/Link.desktop", "[Desktop Entry]\nType=Link\nURL=file:///\n");
    WriteFileBytes(dir / "sendto/Missing.desktop",
                   "[Desktop Entry]\nType=Application\nExec=" + (dir / "no such program") + "\n");
    for (const char* entry : {"plain.txt", "Broken.desktop", "Link.desktop", "Missing.desktop"}) {
        SendFilesTo(dir / ("sendto/" + std::string(entry)), {dir / "files/a"});
    }
    EXPECT_THAT(messages->Texts(),
                ElementsAre("Unable to send to 'plain.txt': it is neither a folder nor a desktop "
                            "entry.",
                            "Unable to send to 'Broken.desktop': the desktop entry names no "
                            "program to start.",
                            "Unable to send to 'Link.desktop': the desktop entry names no program "
                            "to start.",
                            HasSubstr("cannot be started: No such file or directory")));
}

} // namespace
} // namespace quarn::test
