// The virtual shifter as games and udev see it.
#include "kernel/machine_rig.h"

namespace vantrel::testing {
namespace {

TEST(Shifter, AppearsAsAJoystickAndHoldsOneButtonPerGear) {
    auto controller = std::make_unique<UinputController>(Xbox360Pad());
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller", "[output]\nmode=shifter\n"));
    const std::optional<std::string> node = FindEventNode(kShifterName, 60s);
    ASSERT_TRUE(node) << vantrel.Output();
    EvdevWatch shifter(*node);
    const input_id ids = shifter.Ids();
    EXPECT_EQ(ids.bustype, BUS_VIRTUAL);
    EXPECT_EQ(ids.vendor, 0x5654);
    EXPECT_EQ(ids.product, 0x0002);
    EXPECT_EQ(ids.version, 0x0001);
    EXPECT_EQ(shifter.ButtonCount(), 11);
    EXPECT_NE(UdevProperties(*node).find("ID_INPUT_JOYSTICK=1"), std::string::npos);
    // Buttons only: no keyboard in this mode.
    EXPECT_FALSE(FindEventNode(kKeyboardName, 0s));

    WalkTheGate(*controller, shifter, kShifterCodes);
    EXPECT_EQ(MostHeldAtOnce(shifter, kShifterCodes), 1u);
    controller->MoveStick(GearPosition(7).x, GearPosition(7).y);
    ASSERT_TRUE(shifter.WaitForKey(kShifterCodes[6], true));
    controller.reset();
    EXPECT_TRUE(shifter.WaitForKey(kShifterCodes[6], false));
    EXPECT_TRUE(vantrel.running()) << vantrel.Output();
}

TEST(Shifter, BothModeDrivesKeyboardAndShifterTogether) {
    UinputController controller(Xbox360Pad());
    VantrelProcess vantrel(RememberedSettings("Xbox 360 Controller", "[output]\nmode=both\n"));
    const auto shifter = WatchDevice(kShifterName);
    const auto keyboard = WatchDevice(kKeyboardName);
    ASSERT_TRUE(shifter && keyboard) << vantrel.Output();
    for (int gear : {4, 8}) {
        controller.MoveStick(ColumnPosition(gear).x, ColumnPosition(gear).y);
        controller.MoveStick(GearPosition(gear).x, GearPosition(gear).y);
        ExpectOnlyHeld(*keyboard, kKeyCodes[gear - 1]);
        ExpectOnlyHeld(*shifter, kShifterCodes[gear - 1], kShifterCodes);
    }
}

}  // namespace
}  // namespace vantrel::testing
