// The hot-plug watch wakes at once when a node appears in the device folder, long before its slow
// timer would, and looks often for a while after (SDL hears of the device a moment later).
#include "services/sdl/hotplug_watch.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <fstream>

#include "support/qt_wait.h"

namespace vantrel {
namespace {

TEST(HotplugWatch, ANodeComingOrGoingWakesItAtOnceAndAFewTimesAfter) {
    QTemporaryDir folder;
    int looks = 0;
    HotplugWatch watch([&] { ++looks; }, folder.path().toStdString(),
                       {.idle = std::chrono::hours{1}, .burst = std::chrono::milliseconds{20}});
    ASSERT_TRUE(watch.watchesFolder());
    const std::string node = folder.path().toStdString() + "/event7";
    std::ofstream(node).put('x');
    ASSERT_TRUE(testing::WaitUntil([&] { return looks >= 3; }));
    std::remove(node.c_str());
    const int before = looks;
    EXPECT_TRUE(testing::WaitUntil([&] { return looks > before; }));
}

}  // namespace
}  // namespace vantrel
