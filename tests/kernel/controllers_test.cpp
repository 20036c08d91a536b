// Real controllers through evdev and udev: picked by their remembered SDL name with no click,
// driving the real virtual keyboard, and rumbling through the kernel's force feedback.
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

TEST(Rumble, AGearGoingInIsOnePulseAtTheSetStrengthThenStoppedAndNeutralIsNone) {
    ControllerDescription described = Xbox360Pad();
    described.motors = true;
    UinputController controller(described);
    VantrelProcess vantrel(
        RememberedSettings("Xbox 360 Controller", "[feel]\nrumble=on\nstrength=50\n"));
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(keyboard) << vantrel.Output();
    controller.MoveStick(ColumnPosition(3).x, ColumnPosition(3).y);
    controller.MoveStick(GearPosition(3).x, GearPosition(3).y);
    ASSERT_TRUE(keyboard->WaitForKey(KEY_W, true)) << vantrel.Output();
    // SDL starts both motors by uploading a rumble and playing it, and stops them by uploading
    // it again with no strength and playing that; a stop by SDL itself, once the pulse's length
    // is over and the pad is next read, looks the same.
    using enum ForceFeedback::Kind;
    const std::vector<ForceFeedback> pulse = {
        {Upload, 0, 32767, 32767}, {Play, 0, 0, 0, 1}, {Upload, 0, 0, 0}, {Play, 0, 0, 0, 1}};
    controller.WaitForForceFeedback(pulse.size(), 5s);
    std::this_thread::sleep_for(500ms);  // time for anything more to come
    EXPECT_EQ(controller.forceFeedback(), pulse);
    controller.MoveStick(ColumnPosition(3).x, ColumnPosition(3).y);
    ASSERT_TRUE(keyboard->WaitForKey(KEY_W, false));
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(controller.forceFeedback(), pulse);
}

}  // namespace
}  // namespace vantrel::testing
