// What wakes the pump besides SDL: a device node's input, the pump's timer and the hot-plug
// watch, and how they take failed reads. (This binary is linked with --wrap=read.)
#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <cerrno>
#include <deque>
#include <fstream>

#include "backends/sdl/hotplug_watch.h"
#include "backends/sdl/node_watch.h"
#include "backends/sdl/pump_timer.h"
#include "support/qt_wait.h"

namespace {
std::deque<int> failReads;  // the next reads fail with these errnos
}  // namespace

extern "C" ssize_t __real_read(int fd, void* data, size_t size);
extern "C" ssize_t __wrap_read(int fd, void* data, size_t size) {
    if (failReads.empty()) return __real_read(fd, data, size);
    errno = failReads.front();
    failReads.pop_front();
    return -1;
}

namespace vantrel {
namespace {

using testing::WaitUntil;

TEST(NodeWatch, ReadsTheNodeEmptyThroughInterruptionsAndStopsOnAnError) {
    QTemporaryDir dir;
    const std::string node = dir.path().toStdString() + "/event3";
    ASSERT_EQ(::mkfifo(node.c_str(), 0600), 0);
    int wakes = 0;
    NodeWatch watch(node, [&] { ++wakes; });
    const int input = ::open(node.c_str(), O_WRONLY | O_NONBLOCK);
    ASSERT_TRUE(watch.live() && input >= 0);
    failReads = {EINTR};
    ASSERT_EQ(::write(input, "xy", 2), 2);
    ASSERT_TRUE(WaitUntil([&] { return wakes == 1; }));
    EXPECT_TRUE(watch.live()) << "interrupted, then read until there was nothing left (EAGAIN)";
    failReads = {EIO};
    ASSERT_EQ(::write(input, "z", 1), 1);
    ASSERT_TRUE(WaitUntil([&] { return wakes == 2; }));
    EXPECT_FALSE(watch.live());
    ::close(input);
    EXPECT_FALSE(NodeWatch(node + "x", {}).live());
}

TEST(PumpTimer, ATickWhoseReadFailedIsNoTick) {
    int ticks = 0;
    size_t failuresLeft = 99;
    PumpTimer timer([&] {
        if (++ticks == 1) failuresLeft = failReads.size();
    });
    failReads = {EAGAIN, EINTR, EAGAIN};
    timer.start(std::chrono::microseconds{500});
    ASSERT_TRUE(WaitUntil([&] { return ticks > 0; }));
    timer.stop();
    EXPECT_EQ(failuresLeft, 0u);
}

// A node appearing in the device folder wakes the watch at once, long before its slow timer
// would, and it looks often for a while after; without the folder the timer alone looks.
TEST(HotplugWatch, ANodeComingOrGoingWakesItAtOnceAndAFewTimesAfter) {
    QTemporaryDir folder;
    int looks = 0;
    HotplugWatch watch([&] { ++looks; }, folder.path().toStdString(),
                       {.idle = std::chrono::hours{1}, .burst = std::chrono::milliseconds{20}});
    ASSERT_TRUE(watch.watchesFolder());
    const std::string node = folder.path().toStdString() + "/event7";
    std::ofstream(node).put('x');
    ASSERT_TRUE(WaitUntil([&] { return looks >= 3; }));
    std::remove(node.c_str());
    const int before = looks;
    EXPECT_TRUE(WaitUntil([&] { return looks > before; }));

    int blindLooks = 0;
    HotplugWatch blind([&] { ++blindLooks; }, folder.path().toStdString() + "/none",
                       {.idle = std::chrono::milliseconds{10}});
    EXPECT_FALSE(blind.watchesFolder());
    EXPECT_TRUE(WaitUntil([&] { return blindLooks > 1; }));
}

}  // namespace
}  // namespace vantrel
