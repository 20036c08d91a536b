// Real controllers through evdev and udev: picked by their remembered SDL name with no click,
// driving the real virtual keyboard.
#include <signal.h>

#include <thread>

#include "kernel/machine_rig.h"

namespace vantrel::testing {
namespace {

struct Model {
    const char* label;
    ControllerDescription (*describe)();
    const char* sdlName;  // as SDL lists it, which is not always the kernel's name
};

class RealControllers : public ::testing::TestWithParam<Model> {};

TEST_P(RealControllers, RememberedControllerWalksTheGateWithNoClick) {
    UinputController controller(GetParam().describe());
    VantrelProcess vantrel(RememberedSettings(GetParam().sdlName));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    // Picked by itself: the walk only works through the controller in use.
    WalkTheGate(controller, *keyboard);
    EXPECT_TRUE(vantrel.running()) << vantrel.Output();
}

INSTANTIATE_TEST_SUITE_P(Models, RealControllers,
                         ::testing::Values(Model{"Xbox360Pad", Xbox360Pad, "Xbox 360 Controller"},
                                           Model{"FlightStick", FlightStick10Bit,
                                                 "Logitech Extreme 3D"}),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FirstKey, AStickAlreadyInGearWhenVantrelStartsHoldsItsKey) {
    UinputController controller(Xbox360Pad());
    controller.MoveStick(GearPosition(3).x, GearPosition(3).y);
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller"));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    EXPECT_TRUE(keyboard->WaitForKey(KEY_W, true)) << vantrel.Output();
}

TEST(LatePlug, ARememberedControllerPluggedInLaterIsPickedAndDrivesKeys) {
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller"));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    // Plugged in once Vantrel is up and waiting, not found by its first look.
    ASSERT_TRUE(vantrel.ListensForHotplug(std::chrono::seconds(60)));
    std::this_thread::sleep_for(1s);
    UinputController controller(Xbox360Pad());
    controller.MoveStick(GearPosition(2).x, GearPosition(2).y);
    EXPECT_TRUE(keyboard->WaitForKey(KEY_A, true)) << vantrel.Output();
}

TEST(LatePlug, APadWithOnlyAHatIsSelectedAndPressesNoKey) {
    UinputController pad(HatOnlyPad());
    VantrelProcess vantrel(RememberedSettings(HatOnlyPad().name));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    EXPECT_TRUE(vantrel.HoldsOpen(pad.eventNode(), std::chrono::seconds(20)));
    for (int button = 0; button < 4; ++button) {
        pad.SetButton(button, true);
        pad.SetButton(button, false);
    }
    keyboard->Drain(1s);
    EXPECT_TRUE(keyboard->changes().empty());
    EXPECT_TRUE(vantrel.running()) << vantrel.Output();
}

}  // namespace
}  // namespace vantrel::testing
