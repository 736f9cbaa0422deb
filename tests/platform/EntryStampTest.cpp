// A stamp answers whether the path still holds the very entry it stamped, unchanged.
#include "platform/EntryStamp.h"

#include "TestFiles.h"

#include <fcntl.h>
#include <functional>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarn::test {
namespace {

struct StampCase {
    const char* label;
    bool stillStamped;
    std::function<void(const TempDir&, const std::string&)> change;
};

void PrintTo(const StampCase& param, std::ostream* out) {
    *out << param.label;
}

class EntryStampCases : public testing::TestWithParam<StampCase> {};

TEST_P(EntryStampCases, TellsTheSameUnchangedFile) {
    TempDir dir;
    const std::string path = dir / "file";
    WriteFileBytes(path, "original contents");
    struct stat info {};
    ASSERT_EQ(::lstat(path.c_str(), &info), 0);
    const EntryStamp stamp = StampOf(path, info);
    GetParam().change(dir, path);
    EXPECT_EQ(StillStamped(stamp), GetParam().stillStamped);
}

// Times of the past, so that a change shows even on a coarse clock.
void SetTimes(const std::string& path, const timespec& modified) {
    const timespec times[] = {modified, modified};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
}

INSTANTIATE_TEST_SUITE_P(
    Changes, EntryStampCases,
    testing::Values(StampCase{"read only", true,
                              [](const TempDir&, const std::string& path) {
                                  (void)ReadFileBytes(path);
                              }},
                    StampCase{"saved by rename", false,
                              [](const TempDir& dir, const std::string& path) {
                                  WriteFileBytes(dir / "new", "original contents");
                                  ASSERT_EQ(::rename((dir / "new").c_str(), path.c_str()), 0);
                              }},
                    StampCase{"appended", false,
                              [](const TempDir&, const std::string& path) {
                                  const int fd = ::open(path.c_str(), O_WRONLY | O_APPEND);
                                  ASSERT_EQ(::write(fd, "+", 1), 1);
                                  ::close(fd);
                              }},
                    // Rewritten in place with the same size and the old modification time put back:
                    // only the change time tells.
                    StampCase{"rewritten, time restored", false,
                              [](const TempDir&, const std::string& path) {
                                  struct stat before {};
                                  ASSERT_EQ(::lstat(path.c_str(), &before), 0);
                                  const int fd = ::open(path.c_str(), O_WRONLY);
                                  ASSERT_EQ(::pwrite(fd, "O", 1, 0), 1);
                                  ::close(fd);
                                  SetTimes(path, before.st_mtim);
                              }},
                    StampCase{"replaced by a link", false,
                              [](const TempDir& dir, const std::string& path) {
                                  ASSERT_EQ(::rename(path.c_str(), (dir / "moved").c_str()), 0);
                                  ASSERT_EQ(::symlink((dir / "moved").c_str(), path.c_str()), 0);
                              }},
                    StampCase{"gone", false, [](const TempDir&, const std::string& path) {
                                  ASSERT_EQ(::unlink(path.c_str()), 0);
                              }}));

} // namespace
} // namespace quarn::test
