// The change thread: its slots, the messages it posts, slots that fail or are removed, its
// hand-over and its end.
#include "BlockingWatch.h"
#include "CaseNames.h"
#include "NotifyTestSupport.h"
#include "TestFiles.h"
#include "namespace/ChangeHandle.h"
#include "shell/notify/ChangeHandlerThread.h"
#include "shell/notify/ChangeThreadOwner.h"

#include <QCoreApplication>
#include <QTest>
#include <atomic>
#include <filesystem>
#include <fstream>
#include <future>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;
using testing::Each;
using testing::ElementsAre;

constexpr std::uint32_t Names = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

class ChangeThreadTest : public testing::Test {
protected:
    std::string Folder(const std::string& name) {
        fs::create_directories(dir / name);
        return dir / name;
    }

    TempDir dir;
    MessageRecorder owner;
    const int baseline = OpenDescriptorCount();
};

TEST_F(ChangeThreadTest, TakesSixtyThreeWatchesAndRefusesTheNext) {
    {
        TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
        const int withThread = OpenDescriptorCount();
        for (int i = 0; i < ChangeSlotCount; ++i) {
            int slot = -2;
            ASSERT_TRUE(thread.AddWatch(Folder("f" + std::to_string(i)), Names, slot, false));
            EXPECT_EQ(slot, i);
        }
        int slot = -2;
        EXPECT_FALSE(thread.AddWatch(Folder("one more"), Names, slot, false));
        EXPECT_EQ(slot, -1);
        EXPECT_EQ(OpenDescriptorCount(), withThread + ChangeSlotCount); // the refused one closed
        Touch(dir / "f62/new");
        EXPECT_TRUE(owner.WaitForSlot(62));
    }
    EXPECT_EQ(OpenDescriptorCount(), baseline);
}

TEST_F(ChangeThreadTest, RefusesWhatCannotBeWatched) {
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    const int withThread = OpenDescriptorCount();
    Touch(dir / "file");
    const std::vector<std::pair<std::string, std::uint32_t>> refused = {
        {"", Names}, {dir / "missing", Names}, {dir / "file", Names}, {dir.Path(), 0}};
    for (const auto& [path, filter] : refused) {
        int slot = -2;
        EXPECT_FALSE(thread.AddWatch(path, filter, slot, false)) << path << " " << filter;
        EXPECT_EQ(slot, -1);
    }
    EXPECT_EQ(OpenDescriptorCount(), withThread);
}

struct ChangeCase {
    const char* name;
    std::uint32_t filter;
    void (*change)(const std::string& folder);
    bool posts;
};

void PrintTo(const ChangeCase& change, std::ostream* out) {
    *out << change.name;
}

void Append(const std::string& path) {
    std::ofstream(path, std::ios::app) << "more";
}

const ChangeCase ChangeCases[] = {
    {"CreateFile", FILE_NOTIFY_CHANGE_FILE_NAME, [](auto& f) { Touch(f + "/new"); }, true},
    {"DeleteFile", FILE_NOTIFY_CHANGE_FILE_NAME, [](auto& f) { fs::remove(f + "/file"); }, true},
    {"RenameFile", FILE_NOTIFY_CHANGE_FILE_NAME,
     [](auto& f) { fs::rename(f + "/file", f + "/renamed"); }, true},
    {"CreateFolder", FILE_NOTIFY_CHANGE_DIR_NAME, [](auto& f) { fs::create_directory(f + "/d"); },
     true},
    {"RemoveFolder", FILE_NOTIFY_CHANGE_DIR_NAME, [](auto& f) { fs::remove(f + "/sub"); }, true},
    {"RenameFolder", FILE_NOTIFY_CHANGE_DIR_NAME,
     [](auto& f) { fs::rename(f + "/sub", f + "/moved"); }, true},
    {"WriteChangesSize", FILE_NOTIFY_CHANGE_SIZE, [](auto& f) { Append(f + "/file"); }, true},
    {"WriteChangesLastWrite", FILE_NOTIFY_CHANGE_LAST_WRITE, [](auto& f) { Append(f + "/file"); },
     true},
    {"TimeSetChangesLastWrite", FILE_NOTIFY_CHANGE_LAST_WRITE,
     [](auto& f) { fs::last_write_time(f + "/file", fs::file_time_type{}); }, true},
    {"ModeChangesAttributes", FILE_NOTIFY_CHANGE_ATTRIBUTES,
     [](auto& f) { ::chmod((f + "/file").c_str(), 0600); }, true},
    {"FolderIsNoFileName", FILE_NOTIFY_CHANGE_FILE_NAME,
     [](auto& f) { fs::create_directory(f + "/d"); }, false},
    {"FileIsNoFolderName", FILE_NOTIFY_CHANGE_DIR_NAME, [](auto& f) { Touch(f + "/new"); }, false},
    {"WriteIsNoName", Names, [](auto& f) { Append(f + "/file"); }, false},
    {"ModeIsNoSize", FILE_NOTIFY_CHANGE_SIZE, [](auto& f) { ::chmod((f + "/file").c_str(), 0600); },
     false},
    {"ChangeInsideASubfolderIsNotItsParents", Names, [](auto& f) { Touch(f + "/sub/new"); }, false},
    // The namespace shows a link to a folder as a folder.
    {"MadeLinkIsAFolderName", FILE_NOTIFY_CHANGE_DIR_NAME,
     [](auto& f) { fs::create_directory_symlink("sub", f + "/new link"); }, true},
    {"RemovedLinkIsAFolderName", FILE_NOTIFY_CHANGE_DIR_NAME,
     [](auto& f) { fs::remove(f + "/link"); }, true},
    {"RenamedLinkIsAFolderName", FILE_NOTIFY_CHANGE_DIR_NAME,
     [](auto& f) { fs::rename(f + "/link", f + "/moved link"); }, true},
    {"RemovedFileIsNoFolderName", FILE_NOTIFY_CHANGE_DIR_NAME,
     [](auto& f) { fs::remove(f + "/file"); }, false},
};

class ChangeKindTest : public ChangeThreadTest, public testing::WithParamInterface<ChangeCase> {};

// A change in a marker folder, watched in a later slot, comes after whatever the change under
// test posted: both are queued in order and the thread posts in slot order.
TEST_P(ChangeKindTest, PostsTheMessageForTheChangesOfItsFilter) {
    const std::string folder = Folder("watched");
    Folder("watched/sub");
    Touch(folder + "/file");
    fs::create_directory_symlink("sub", folder + "/link");
    const std::string marker = Folder("marker");
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int slot = -1;
    int markerSlot = -1;
    ASSERT_TRUE(thread.AddWatch(folder, GetParam().filter, slot, false));
    ASSERT_TRUE(thread.AddWatch(marker, Names, markerSlot, false));

    GetParam().change(folder);
    Touch(marker + "/done");
    ASSERT_TRUE(owner.WaitForSlot(markerSlot));

    std::erase_if(owner.messages, [&](const TMessage& m) { return int(m.WParam) == markerSlot; });
    if (GetParam().posts) {
        ASSERT_FALSE(owner.messages.empty());
        for (const TMessage& message : owner.messages) {
            EXPECT_EQ(message.Msg, WM_CHANGENOTIFY);
            EXPECT_EQ(message.WParam, 0u);
            EXPECT_EQ(message.LParam, 0);
        }
    } else {
        EXPECT_THAT(owner.messages, testing::IsEmpty());
    }
}

INSTANTIATE_TEST_SUITE_P(Changes, ChangeKindTest, testing::ValuesIn(ChangeCases), CaseName());

TEST_F(ChangeThreadTest, ASubtreeWatchSeesAListedFolderTwoLevelsDown) {
    const std::string root = Folder("root");
    Folder("root/a/b");
    const std::string marker = Folder("marker");
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int slot = -1;
    int markerSlot = -1;
    ASSERT_TRUE(thread.AddWatch(root, Names, slot, true));
    ASSERT_TRUE(thread.AddWatch(marker, Names, markerSlot, false));

    Touch(root + "/a/b/before listing");
    Touch(marker + "/1");
    ASSERT_TRUE(owner.WaitForSlot(markerSlot));
    EXPECT_THAT(owner.Slots(), ElementsAre(markerSlot));

    WatchListedFolder(root + "/a/b/");
    Touch(root + "/a/b/after listing");
    EXPECT_TRUE(owner.WaitForSlot(slot));
}

TEST_F(ChangeThreadTest, AFolderWatchIgnoresListedFolders) {
    const std::string folder = Folder("plain");
    Folder("plain/inner");
    const std::string marker = Folder("marker");
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int slot = -1;
    int markerSlot = -1;
    ASSERT_TRUE(thread.AddWatch(folder, Names, slot, false));
    ASSERT_TRUE(thread.AddWatch(marker, Names, markerSlot, false));

    WatchListedFolder(folder + "/inner");
    Touch(folder + "/inner/new");
    Touch(marker + "/1");
    ASSERT_TRUE(owner.WaitForSlot(markerSlot));
    EXPECT_THAT(owner.Slots(), ElementsAre(markerSlot));
}

TEST_F(ChangeThreadTest, AFolderThatGoesClosesItsSlotAndTheOthersGoOn) {
    const std::string gone = Folder("gone");
    const std::string kept = Folder("kept");
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int goneSlot = -1;
    int keptSlot = -1;
    ASSERT_TRUE(thread.AddWatch(gone, Names, goneSlot, false));
    ASSERT_TRUE(thread.AddWatch(kept, Names, keptSlot, false));
    const int open = OpenDescriptorCount();

    fs::remove(gone);
    EXPECT_TRUE(owner.WaitForSlot(goneSlot));
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenDescriptorCount() == open - 1; }, ChangeWaitMs));

    Touch(kept + "/new");
    EXPECT_TRUE(owner.WaitForSlot(keptSlot));
    int again = -1;
    ASSERT_TRUE(thread.AddWatch(Folder("again"), Names, again, false));
    EXPECT_EQ(again, goneSlot);
}

TEST_F(ChangeThreadTest, RemovedWatchesFreeTheirSlots) {
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    const int withThread = OpenDescriptorCount();
    for (int i = 0; i < 3; ++i) {
        int slot = -1;
        ASSERT_TRUE(thread.AddWatch(Folder("w" + std::to_string(i)), Names, slot, false));
    }
    thread.RemoveWatch(1);
    EXPECT_EQ(OpenDescriptorCount(), withThread + 2);
    int slot = -1;
    ASSERT_TRUE(thread.AddWatch(Folder("w3"), Names, slot, false));
    EXPECT_EQ(slot, 1);

    thread.RemoveAllWatches();
    EXPECT_EQ(OpenDescriptorCount(), withThread);
    ASSERT_TRUE(thread.AddWatch(Folder("w4"), Names, slot, false));
    EXPECT_EQ(slot, 0);
}

TEST_F(ChangeThreadTest, AThreadWithoutOwnerPostsNothingAndEndsCleanly) {
    {
        TChangeHandlerThread idle(&owner, WM_CHANGENOTIFY);
        TChangeHandlerThread thread(nullptr, WM_CHANGENOTIFY);
        int slot = -1;
        ASSERT_TRUE(thread.AddWatch(Folder("w"), Names, slot, false));
        Touch(dir / "w/new");
        QCoreApplication::processEvents();
    }
    EXPECT_THAT(owner.messages, testing::IsEmpty());
    EXPECT_EQ(OpenDescriptorCount(), baseline);
}

// A thread that does not answer until the test releases it.
class StalledThread {
public:
    ChangeThreadTiming Timing(std::chrono::milliseconds handOverWait,
                              std::chrono::milliseconds endWait) {
        ChangeThreadTiming timing{handOverWait, endWait, {}};
        timing.beforeAction = [stall = stall_, released = released_] {
            if (*stall) {
                released.wait();
            }
        };
        return timing;
    }
    void Stall() { *stall_ = true; }
    void Release() {
        *stall_ = false;
        release_.set_value();
    }

private:
    std::shared_ptr<std::atomic<bool>> stall_ = std::make_shared<std::atomic<bool>>(false);
    std::promise<void> release_;
    std::shared_future<void> released_ = release_.get_future().share();
};

TEST_F(ChangeThreadTest, AnEndThatRunsOutLeavesTheHandlesToTheThread) {
    StalledThread stalled;
    auto thread = std::make_unique<TChangeHandlerThread>(&owner, WM_CHANGENOTIFY,
                                                         stalled.Timing(2000ms, 100ms));
    int slot = -1;
    ASSERT_TRUE(thread->AddWatch(Folder("w"), Names, slot, false));
    const int open = OpenDescriptorCount();

    stalled.Stall();
    thread.reset();
    EXPECT_EQ(OpenDescriptorCount(), open); // nothing closed under the running thread
    Touch(dir / "w/new");

    stalled.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenDescriptorCount() == baseline; }, ChangeWaitMs));
    EXPECT_THAT(owner.messages, testing::IsEmpty());
}

TEST_F(ChangeThreadTest, AHandOverThatRanOutIsReclaimedByTheNextWatch) {
    StalledThread stalled;
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY, stalled.Timing(50ms, 30s));
    const int withThread = OpenDescriptorCount();
    const std::string second = Folder("second");

    stalled.Stall();
    int slot = -2;
    EXPECT_FALSE(thread.AddWatch(Folder("first"), Names, slot, false));
    EXPECT_EQ(slot, -1);
    EXPECT_FALSE(thread.AddWatch(second, Names, slot, false));
    EXPECT_EQ(OpenDescriptorCount(), withThread + 1); // the first pending handle was closed

    stalled.Release();
    Touch(second + "/new"); // the thread took the second handle when it woke
    EXPECT_TRUE(owner.WaitForSlot(0));
    ASSERT_TRUE(thread.AddWatch(Folder("third"), Names, slot, false));
    EXPECT_EQ(slot, 1);
    EXPECT_EQ(OpenDescriptorCount(), withThread + 2);
}

// A folder on a network mount whose server is gone: adding its watch blocks for minutes.
TEST_F(ChangeThreadTest, AWatchThatBlocksHoldsUpNeitherTheCallerNorTheOtherWatches) {
    const std::string dead = Folder("dead server");
    BlockingWatch blocking(dead);
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int slot = -2;
    EXPECT_FALSE(thread.AddWatch(dead, Names, slot, true));
    EXPECT_EQ(slot, -1);
    EXPECT_TRUE(blocking.Blocked()) << "answered while the watch is still being added";

    int local = -1;
    ASSERT_TRUE(thread.AddWatch(Folder("local"), Names, local, false));
    EXPECT_EQ(local, 0);
    Touch(dir / "local/new");
    EXPECT_TRUE(owner.WaitForSlot(local)) << "the thread goes on watching";
    EXPECT_FALSE(thread.AddWatch(dead, Names, slot, true)) << "asked again, still opening";
    EXPECT_EQ(blocking.Calls(), 1) << "the blocked open is not started twice";

    blocking.Release();
    ASSERT_TRUE(blocking.WaitUntilWatched());
    Touch(dead + "/new");
    EXPECT_TRUE(owner.WaitForSlot(1)) << "the watch joins the first free slot once it is added";
}

TEST_F(ChangeThreadTest, WatchesRemovedWhileTheyOpenAreDroppedAndTheEndWaitsForNoOpen) {
    const std::string dead = Folder("dead server");
    auto thread = std::make_unique<TChangeHandlerThread>(&owner, WM_CHANGENOTIFY);
    const int withThread = OpenDescriptorCount();
    {
        BlockingWatch blocking(dead);
        int slot = -1;
        EXPECT_FALSE(thread->AddWatch(dead, Names, slot, false));
        thread->RemoveAllWatches();
        EXPECT_TRUE(blocking.Blocked());
        blocking.Release();
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenDescriptorCount() == withThread; }, ChangeWaitMs))
        << "the handle that opened after the removal is closed";
    Touch(dead + "/new");
    int marker = -1;
    ASSERT_TRUE(thread->AddWatch(Folder("marker"), Names, marker, false));
    EXPECT_EQ(marker, 0) << "the dropped watch took no slot";

    BlockingWatch blocking(dead);
    int slot = -1;
    EXPECT_FALSE(thread->AddWatch(dead, Names, slot, false));
    const int threads = ThreadCount();
    thread.reset();
    EXPECT_TRUE(blocking.Blocked()) << "the end did not wait for the open";
    // A joined thread can stay listed for a moment after the join.
    EXPECT_TRUE(QTest::qWaitFor([&] { return ThreadCount() == threads - 1; }, ChangeWaitMs))
        << "only the change thread ended";
    blocking.Release();
    EXPECT_TRUE(QTest::qWaitFor([&] { return OpenDescriptorCount() == baseline; }, ChangeWaitMs));
    EXPECT_THAT(owner.Slots(), Each(marker));
}

// A control holding its change thread, as the tree and the list do.
class Control : public MessageRecorder {
public:
    ChangeThreadOwner changeThread{this};
};

TEST_F(ChangeThreadTest, AControlDestroyedWhileChangesFlowGetsNoMessage) {
    const std::string folder = Folder("busy");
    std::atomic<bool> stop = false;
    std::thread writer([&] {
        while (!stop) {
            Touch(folder + "/f");
            fs::remove(folder + "/f");
        }
    });
    const int threads = ThreadCount();
    for (int round = 0; round < 20; ++round) {
        auto control = std::make_unique<Control>();
        EXPECT_EQ(control->changeThread.Find(), nullptr);
        int slot = -1;
        ASSERT_TRUE(control->changeThread.Get().AddWatch(folder, Names, slot, false));
        ASSERT_TRUE(control->WaitForSlot(slot));
        control.reset();
        EXPECT_EQ(ThreadCount(), threads); // its thread was joined with it
        QCoreApplication::processEvents();
    }
    stop = true;
    writer.join();
    EXPECT_EQ(OpenDescriptorCount(), baseline);
}

} // namespace
} // namespace quarn::test
