// The file under the uinput devices: a write interrupted by a signal or cut short goes on until
// every byte is out; an error comes back as it is. (This binary is linked with --wrap=write.)
#include "backends/uinput/uinput_io.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <deque>

#include "support/temp_dir.h"

namespace {
// What the next writes do: -E fails with errno E, N > 0 writes at most N bytes.
std::deque<int> script;
}  // namespace

extern "C" ssize_t __real_write(int fd, const void* data, size_t size);
extern "C" ssize_t __wrap_write(int fd, const void* data, size_t size) {
    if (script.empty()) return __real_write(fd, data, size);
    const int step = script.front();
    script.pop_front();
    if (step < 0) return errno = -step, -1;
    return __real_write(fd, data, std::min(size, static_cast<size_t>(step)));
}

namespace vantrel {
namespace {

TEST(UinputFile, WritesEverythingThroughInterruptionsAndShortWritesAndReturnsErrors) {
    testing::TempDir dir;
    const auto file = dir.Write("");
    int error = -1;
    auto io = OpenUinputFile(file.string(), error);
    ASSERT_TRUE(io);
    EXPECT_EQ(error, 0);
    script = {-EINTR, 3, -EINTR, 2};
    EXPECT_EQ(io->Write("abcdefghij", 10), 0);
    EXPECT_EQ(testing::TempDir::Read(file), "abcdefghij");
    script = {4, -ENOSPC};
    EXPECT_EQ(io->Write("klmnop", 6), ENOSPC);
    EXPECT_TRUE(script.empty());

    EXPECT_EQ(OpenUinputFile((dir.path / "none" / "uinput").string(), error), nullptr);
    EXPECT_EQ(error, ENOENT);
}

}  // namespace
}  // namespace vantrel
