// A controller unplugged in gear, and Vantrel killed in gear: no key may stay held.
#include <signal.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "kernel/machine_rig.h"

namespace vantrel::testing {
namespace {

TEST(Unplug, InGearEveryKeyGoesUpAndThePadIsPickedAgainWhenItComesBack) {
    auto controller = std::make_unique<UinputController>(Xbox360Pad());
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller"));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    controller->MoveStick(GearPosition(5).x, GearPosition(5).y);
    ASSERT_TRUE(keyboard->WaitForKey(KEY_E, true)) << vantrel.Output();

    const Clock::time_point unplugged = Clock::now();
    controller.reset();
    ASSERT_TRUE(keyboard->WaitForKey(KEY_E, false)) << vantrel.Output();
    const auto& changes = keyboard->changes();
    const auto up = std::find_if(changes.rbegin(), changes.rend(),
                                 [](const auto& c) { return c.code == KEY_E && !c.down; });
    const double ms = std::chrono::duration<double, std::milli>(up->when - unplugged).count();
    // Reported, not asserted: a software CPU is many times slower than the player's.
    std::printf("unplugged in gear -> every key up: %.1f ms (real kernel, software CPU)\n", ms);
    EXPECT_TRUE(keyboard->keysDown().empty());

    controller = std::make_unique<UinputController>(Xbox360Pad());
    controller->MoveStick(GearPosition(6).x, GearPosition(6).y);
    EXPECT_TRUE(keyboard->WaitForKey(KEY_D, true)) << vantrel.Output();
}

TEST(Kill, SigkillInGearRemovesTheVirtualKeyboardWithTheProcess) {
    UinputController controller(Xbox360Pad());
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller"));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    controller.MoveStick(GearPosition(1).x, GearPosition(1).y);
    ASSERT_TRUE(keyboard->WaitForKey(KEY_Q, true)) << vantrel.Output();

    vantrel.Signal(SIGKILL);
    // Whoever reads the keyboard (X, a compositor, a game) drops the keys of a removed device.
    EXPECT_TRUE(keyboard->WaitUntilGone());
    EXPECT_FALSE(FindEventNode(kKeyboardName, 2s));
}

}  // namespace
}  // namespace vantrel::testing
