// Many changes at once: the owner refreshes from its messages while another thread creates
// and deletes files, and the last refresh sees what the folder holds at the end.
#include "NotifyTestSupport.h"
#include "TestFiles.h"
#include "namespace/ChangeHandle.h"
#include "shell/notify/ChangeHandlerThread.h"

#include <QTest>
#include <atomic>
#include <filesystem>
#include <gtest/gtest.h>
#include <set>
#include <thread>

namespace quarn::test {
namespace {

namespace fs = std::filesystem;

constexpr std::uint32_t Names = FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME;

// Lists its folder again at every message, as a control's refresh does, and hands the
// folder to the subtree watches as the namespace's listing does.
class RefreshingOwner : public QObject {
public:
    explicit RefreshingOwner(std::string folder) : folder_(std::move(folder)) {}

    std::set<std::string> names;
    int refreshes = 0;

protected:
    bool event(QEvent* event) override {
        const TMessage* message = MessageOf(event);
        if (!message || message->Msg != WM_CHANGENOTIFY) {
            return QObject::event(event);
        }
        names = FolderNames(folder_);
        WatchListedFolder(folder_);
        ++refreshes;
        return true;
    }

private:
    std::string folder_;
};

TEST(ChangeStress, TenThousandChangesEndInTheFinalState) {
    TempDir dir;
    const std::string folder = dir.Path().string();
    RefreshingOwner owner(folder);
    TChangeHandlerThread thread(&owner, WM_CHANGENOTIFY);
    int slot = -1;
    ASSERT_TRUE(thread.AddWatch(folder, Names, slot, true));

    std::atomic<bool> done = false;
    std::thread churn([&] {
        for (int i = 0; i < 5000; ++i) {
            const std::string path = folder + "/f" + std::to_string(i);
            Touch(path);
            fs::remove(path);
        }
        for (int i = 0; i < 10; ++i) {
            Touch(folder + "/final " + std::to_string(i));
        }
        done = true;
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 120'000));
    churn.join();

    const std::set<std::string> final = FolderNames(dir);
    ASSERT_EQ(final.size(), 10u);
    EXPECT_TRUE(QTest::qWaitFor([&] { return owner.names == final; }, ChangeWaitMs));
    EXPECT_GT(owner.refreshes, 0);
}

} // namespace
} // namespace quarn::test
