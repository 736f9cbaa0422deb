// The "ContextMenu" list between the file manager's command and the utility: each name is
// taken exactly once, however the two meet.
#include "CaseNames.h"
#include "CluFixture.h"
#include "app/common/Settings.h"
#include "platform/QuarnRegistryKey.h"
#include "platform/Registry.h"

#include <algorithm>
#include <functional>
#include <map>
#include <sys/wait.h>
#include <unistd.h>

namespace quarn::clu::test {
namespace {

constexpr int Rounds = 50;
constexpr int NamesPerRound = 20;

// A gate that holds children back until Open, so that they start together.
class Gate {
public:
    Gate() { EXPECT_EQ(::pipe(ends_), 0); }
    ~Gate() { Open(); }
    Gate(const Gate&) = delete;
    Gate& operator=(const Gate&) = delete;

    // In a child: returns when the parent opens the gate.
    void Wait() {
        ::close(ends_[1]);
        char byte;
        while (::read(ends_[0], &byte, 1) > 0) {
        }
    }
    void Open() {
        for (int& end : ends_) {
            if (end >= 0) {
                ::close(end);
                end = -1;
            }
        }
    }

private:
    int ends_[2] = {-1, -1};
};

// A child process that waits at the gate, runs work and sends back what it returns.
class Child {
public:
    Child(Gate& gate, const std::function<std::string()>& work) {
        int result[2];
        if (::pipe(result) != 0) {
            ADD_FAILURE() << "pipe";
            return;
        }
        pid_ = ::fork();
        if (pid_ == 0) {
            ::close(result[0]);
            gate.Wait();
            std::string answer = "failed";
            try {
                answer = work();
            } catch (...) {
            }
            const bool sent = ::write(result[1], answer.data(), answer.size()) ==
                              static_cast<ssize_t>(answer.size());
            ::_exit(sent ? 0 : 1);
        }
        ::close(result[1]);
        result_ = result[0];
    }

    // What the child sent, once it has ended.
    std::string Result() {
        std::string text;
        char buffer[4096];
        for (ssize_t got; (got = ::read(result_, buffer, sizeof buffer)) > 0;) {
            text.append(buffer, static_cast<std::size_t>(got));
        }
        ::close(result_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        return text;
    }

private:
    pid_t pid_ = -1;
    int result_ = -1;
};

std::vector<std::string> RoundNames(int round, const char* who) {
    std::vector<std::string> names;
    for (int i = 0; i < NamesPerRound; ++i) {
        names.push_back("/round " + std::to_string(round) + "/" + who + std::to_string(i));
    }
    return names;
}

std::string Joined(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) {
        text += line + "\n";
    }
    return text;
}

// The names a child took, as the utility's start-up takes them.
std::string TakeAsTheUtility() {
    return Joined(ReadUtilityStart().ContextMenuFiles);
}

std::string AppendAsTheCommand(const std::vector<std::string>& names) {
    TRegistry registry;
    if (!registry.OpenKey(QuarnRegistryKey, true)) {
        return "failed";
    }
    registry.AppendLines("ContextMenu", names);
    return {};
}

void CountLines(const std::string& text, std::map<std::string, int>& counts) {
    for (std::size_t start = 0; start < text.size();) {
        const std::size_t end = text.find('\n', start);
        counts[text.substr(start, end - start)]++;
        start = end + 1;
    }
}

void ExpectEachOnce(const std::map<std::string, int>& counts, const std::vector<std::string>& names,
                    int round) {
    for (const auto& name : names) {
        const auto found = counts.find(name);
        EXPECT_EQ(found == counts.end() ? 0 : found->second, 1) << name << " in round " << round;
    }
    EXPECT_EQ(counts.size(), names.size()) << "round " << round;
}

TEST_F(CluTest, TwoUtilitiesStartedTogetherTakeEachNameOnce) {
    WriteBoolSetting("EncryptName", true); // the rest of the settings read fails: defaults
    for (int round = 0; round < Rounds; ++round) {
        const std::vector<std::string> names = RoundNames(round, "file");
        WriteContextMenu(Joined(names));
        Gate gate;
        Child first(gate, TakeAsTheUtility);
        Child second(gate, TakeAsTheUtility);
        gate.Open();
        std::map<std::string, int> counts;
        CountLines(first.Result(), counts);
        CountLines(second.Result(), counts);
        ExpectEachOnce(counts, names, round);
        ASSERT_EQ(ReadContextMenu(), "") << "round " << round;
    }
}

TEST_F(CluTest, AppendsMeetingATakeLoseNothingAndRepeatNothing) {
    for (int round = 0; round < Rounds; ++round) {
        const std::vector<std::string> waiting = RoundNames(round, "waiting");
        const std::vector<std::string> left = RoundNames(round, "left");
        const std::vector<std::string> right = RoundNames(round, "right");
        WriteContextMenu(Joined(waiting));
        Gate gate;
        Child appendLeft(gate, [&] { return AppendAsTheCommand(left); });
        Child take(gate, TakeAsTheUtility);
        Child appendRight(gate, [&] { return AppendAsTheCommand(right); });
        gate.Open();
        ASSERT_EQ(appendLeft.Result(), "");
        ASSERT_EQ(appendRight.Result(), "");
        std::map<std::string, int> counts;
        CountLines(take.Result(), counts);
        CountLines(ReadContextMenu(), counts);
        std::vector<std::string> all = waiting;
        all.insert(all.end(), left.begin(), left.end());
        all.insert(all.end(), right.begin(), right.end());
        ExpectEachOnce(counts, all, round);
    }
}

struct AppendCase {
    const char* name;
    std::optional<std::string> before; // nothing: no value yet
    std::vector<std::string> lines;
    std::string after;
};

void PrintTo(const AppendCase& c, std::ostream* out) {
    *out << c.name;
}

class ContextMenuAppendTest : public CluTest, public testing::WithParamInterface<AppendCase> {};

TEST_P(ContextMenuAppendTest, AppendsWholeLinesAfterWhatIsThere) {
    const AppendCase& c = GetParam();
    if (c.before) {
        WriteContextMenu(*c.before);
    }
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    registry.AppendLines("ContextMenu", c.lines);
    EXPECT_EQ(ReadContextMenu(), c.after);
}

INSTANTIATE_TEST_SUITE_P(
    Lists, ContextMenuAppendTest,
    testing::Values(AppendCase{"NoValue", std::nullopt, {"/a b/c", "/d"}, "/a b/c\n/d\n"},
                    AppendCase{"Empty", "", {"/x"}, "/x\n"},
                    AppendCase{"EndsInCrLf", "/old\r\n", {"/x"}, "/old\r\n/x\n"},
                    AppendCase{"EndsInCr", "/old\r", {"/x"}, "/old\r/x\n"},
                    AppendCase{"NoLastLineEnd", "/old\r\n/older", {"/x"}, "/old\r\n/older\n/x\n"},
                    AppendCase{
                        "RawBytes", "", {"/r\xE9sum\xE9\t\x01.txt"}, "/r\xE9sum\xE9\t\x01.txt\n"},
                    AppendCase{"NothingToAdd", "/old", {}, "/old"}),
    quarn::test::CaseName());

TEST_F(CluTest, ALineWithALineBreakAppendsNothing) {
    WriteContextMenu("/old\n");
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    for (const char* broken : {"/a\nb", "/a\rb"}) {
        EXPECT_THROW(registry.AppendLines("ContextMenu", {"/fine", broken}), ERegistryException);
    }
    EXPECT_EQ(ReadContextMenu(), "/old\n");
}

TEST_F(CluTest, AListOfAnotherTypeIsNeitherTakenNorAppendedTo) {
    TRegistry registry;
    ASSERT_TRUE(registry.OpenKey(QuarnRegistryKey, true));
    registry.WriteInteger("ContextMenu", 7);
    EXPECT_THROW(registry.AppendLines("ContextMenu", {"/x"}), ERegistryException);
    EXPECT_THROW(registry.TakeString("ContextMenu"), ERegistryException);
    EXPECT_EQ(registry.ReadInteger("ContextMenu"), 7);
}

} // namespace
} // namespace quarn::clu::test
