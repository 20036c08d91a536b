// The SDL controller service on SDL virtual joysticks: enumeration, opening by attachment, axis
// kinds, scaling, buttons, loss and swaps of controllers, the reports with their pump, rumble.
#include "backends/sdl/sdl_controller_service.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <memory>

#include "backends/sdl/controller_pump.h"
#include "doubles/manual_alarm.h"
#include "doubles/virtual_pad.h"
#include "engine/gate_feel.h"
#include "ports/service_error.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::ManualAlarm;
using testing::VirtualPad;
using testing::WaitUntil;

class SdlServiceTest : public ::testing::Test {
  protected:
    // Opens the pad's controller, tied to `receiver` and configured as the controller selection
    // does it.
    std::unique_ptr<Controller> Open(const VirtualPad& pad) {
        auto controller = service.Open(pad.id());
        if (!controller) return nullptr;
        controller->Configure({.min = 0, .max = 10000, .deadZone = 1000, .saturation = 9500});
        controller->SendReportsTo(receiver);
        return controller;
    }
    ControllerReport Read(Controller& controller) {
        service.PumpOnce();
        ControllerReport report;
        EXPECT_EQ(controller.Read(report), ReadResult::Ok);
        return report;
    }

    SdlControllerService service;
    int calls = 0;
    std::function<void()> onCall;
    const int32_t receiver = service.AddReportReceiver([this] {
        ++calls;
        if (onCall) onCall();
    });
};

TEST_F(SdlServiceTest, SameNamedControllersAreSeparateWithTheirAxes) {
    VirtualPad first("Gear Stick", 2, 4), other("Wheel", 10, 4), second("Gear Stick", 2, 4);
    std::vector<std::string> listed;
    for (const AttachedController& d : service.Attached()) {
        listed.push_back(d.name + " " + d.attachmentId);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Gear Stick " + first.id(), "Wheel " + other.id(),
                                                "Gear Stick " + second.id()}));
    auto deviceA = Open(first);
    auto deviceB = Open(second);
    ASSERT_TRUE(deviceA && deviceB);
    second.SetAxis(0, 32767);
    EXPECT_EQ(Read(*deviceA).axis(AxisSlot::X), 5000);
    EXPECT_EQ(Read(*deviceB).axis(AxisSlot::X), 10000);

    // Axis kinds follow SDL's axis order, up to the eight a report holds.
    using enum AxisKind;
    const std::vector<AxisKind> eight = {X, Y, Z, RotationX, RotationY, RotationZ, Slider, Slider};
    EXPECT_EQ(deviceA->Describe().axes, std::vector(eight.begin(), eight.begin() + 2));
    auto wheel = service.Open(other.id());
    ASSERT_TRUE(wheel);
    EXPECT_EQ(wheel->Describe().axes, eight);

    const std::string id = other.id();
    for (const std::string& unknown : {std::string(), std::string("abc"), id + "0", " " + id}) {
        EXPECT_EQ(service.Open(unknown), nullptr) << unknown;
    }
    other.Detach();
    EXPECT_EQ(service.Attached().size(), 2U);
    EXPECT_EQ(service.Open(id), nullptr);
    ControllerReport report;
    EXPECT_EQ(wheel->Read(report), ReadResult::Lost);
}

TEST_F(SdlServiceTest, SelectionScalingOnBothStickAxesOnly) {
    VirtualPad pad("Pad", 3, 2);
    auto device = Open(pad);
    ASSERT_TRUE(device);
    // x gets the raw value and y its mirror image, so each row checks both axes and directions.
    const struct {
        int raw;
        int32_t x;
    } cases[] = {
        {0, 5000},                       // centre
        {3276, 5000},   {3280, 5001},    // last inside, first outside the 10 % dead zone
        {16384, 7353},                   // linear part
        {31125, 9999},  {31126, 10000},  // last short of, first at the top (95 % saturation)
        {32767, 10000}, {-32768, 0},     // ends
    };
    for (const auto& c : cases) {
        pad.SetAxis(0, c.raw);
        pad.SetAxis(1, std::min(-c.raw, 32767));
        const ControllerReport report = Read(*device);
        EXPECT_EQ(report.axis(AxisSlot::X), c.x) << "raw " << c.raw;
        EXPECT_EQ(report.axis(AxisSlot::Y), 10000 - c.x) << "raw " << c.raw;
    }
    // The third axis has the range but no dead zone and no saturation.
    pad.SetAxis(2, 3276);
    EXPECT_EQ(Read(*device).axis(AxisSlot::Z), 5500);
    pad.SetAxis(2, 32000);
    EXPECT_EQ(Read(*device).axis(AxisSlot::Z), 9883);
    // Left unconfigured, an axis spans 0..65535 from end to end.
    auto plain = service.Open(pad.id());
    pad.SetAxis(1, 32767);
    const ControllerReport report = Read(*plain);
    EXPECT_EQ(std::pair(report.axis(AxisSlot::X), report.axis(AxisSlot::Y)), std::pair(0, 65535));
}

TEST_F(SdlServiceTest, OneControllerSwappedForAnotherIsAChangeThoughTheCountStaysTheSame) {
    auto first = std::make_unique<VirtualPad>("Pad", 2, 4);
    service.PumpOnce();
    int changes = 0;
    service.SetControllersChangedListener([&] { ++changes; });
    first.reset();
    VirtualPad second("Wheel", 2, 4);
    service.PumpOnce();
    EXPECT_EQ(changes, 1);
}

TEST_F(SdlServiceTest, ButtonsPastThirtyTwoAreCountedButNeverRead) {
    VirtualPad pad("Big", 2, 40);
    auto device = Open(pad);
    ASSERT_TRUE(device);
    EXPECT_EQ(device->Describe().buttons, 40);
    for (const int button : {0, 31, 35}) pad.SetButton(button, true);
    // The report sits before a guard that a write past its 32 buttons would change; one into a
    // temporary report is caught by a VANTREL_SANITIZE build (AddressSanitizer).
    struct {
        ControllerReport report;
        std::array<uint8_t, 64> guard{};
    } guarded;
    service.PumpOnce();
    ASSERT_EQ(device->Read(guarded.report), ReadResult::Ok);
    for (size_t i = 0; i < kButtonSlots; ++i) {
        EXPECT_EQ(guarded.report.buttons[i], i == 0 || i == 31) << i;
    }
    EXPECT_EQ(guarded.guard, (std::array<uint8_t, 64>{}));
}

TEST_F(SdlServiceTest, ChangesSeenInOnePumpAreOneNotification) {
    VirtualPad pad("Gear Stick", 2, 12), second("Gear Stick", 2, 12);
    auto device = Open(pad);
    auto other = Open(second);  // tied to the same receiver
    EXPECT_FALSE(service.PumpOnce().changed);
    pad.SetAxis(0, 20000);
    pad.SetAxis(1, -20000);
    pad.SetButton(3, true);
    second.SetAxis(0, 20000);
    EXPECT_TRUE(service.PumpOnce().changed);
    EXPECT_EQ(calls, 1);
    pad.SetAxis(0, 20000);  // the same value again is no change
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
    pad.SetButton(3, false);
    service.PumpOnce();
    EXPECT_EQ(calls, 2);
}

TEST_F(SdlServiceTest, ABusyReceiverIsNotCalledAgainButGetsTheChangeAfterwards) {
    VirtualPad pad("Gear Stick", 2, 12);
    auto device = Open(pad);
    int depth = 0;
    int maxDepth = 0;
    onCall = [&] {
        maxDepth = std::max(maxDepth, ++depth);
        if (calls == 1) {
            // Like a message box's own event loop: the stick moves and pumps run meanwhile.
            pad.SetAxis(0, -20000);
            service.PumpOnce();
            pad.SetAxis(1, 20000);
            service.PumpOnce();
        }
        --depth;
    };
    pad.SetAxis(0, 20000);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(maxDepth, 1);
    // What changed meanwhile is one notification, from the next pump.
    service.PumpOnce();
    EXPECT_EQ(calls, 2);
    service.PumpOnce();
    EXPECT_EQ(calls, 2);

    // A receiver may remove itself and close the controller.
    onCall = [&] {
        service.RemoveReportReceiver(receiver);
        device.reset();
    };
    pad.SetAxis(0, 0);
    service.PumpOnce();
    EXPECT_FALSE(service.PumpOnce().watching);
    EXPECT_EQ(calls, 3);
}

TEST_F(SdlServiceTest, ThePumpSlowsDownWhenStillAndRestsOnceTheDeviceIsGone) {
    VirtualPad pad("Gear Stick", 2, 12);
    auto device = Open(pad);
    ControllerPump pump{service};
    PumpTiming timing;
    timing.fastHold = std::chrono::milliseconds{500};  // no slowing down between two checks
    pump.setTiming(timing);
    pump.start();
    pad.SetAxis(0, 20000);
    ASSERT_TRUE(WaitUntil([&] { return calls == 1; }));
    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Slow; }));
    EXPECT_EQ(calls, 1);  // stillness notifies nothing
    pad.SetButton(0, true);
    ASSERT_TRUE(WaitUntil([&] { return calls == 2 && pump.pace() == PumpPace::Fast; }));

    // The loss is one report, whose read finds it, as in the poll cycle; then nothing is left to
    // pump.
    onCall = [&] {
        ControllerReport report;
        EXPECT_EQ(device->Read(report), ReadResult::Lost);
    };
    pad.Detach();
    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Dormant; }));
    EXPECT_EQ(calls, 3);
}

TEST_F(SdlServiceTest, RumbleRunsBothMotorsOfAPadWithThemAndIsRefusedByOneWithout) {
    VirtualPad pad("Pad", 2, 4, /*motors=*/true), plain("Plain", 2, 4);
    ControllerSlot slot;
    slot.controller = Open(pad);
    auto without = Open(plain);
    ASSERT_TRUE(slot.controller && without);
    using Motors = VirtualPad::Motors;
    const std::vector<Motors>& rumbles = pad.rumbles();
    // Left running, a pulse is ended by SDL at the first pump after its length.
    EXPECT_TRUE(slot.controller->Rumble(20000, 1));
    EXPECT_EQ(rumbles, (std::vector<Motors>{{20000, 20000}}));
    SDL_Delay(5);
    service.PumpOnce();
    EXPECT_EQ(rumbles, (std::vector<Motors>{{20000, 20000}, {0, 0}}));

    // Through the gate feel: one pulse for a gear, none for neutral, two for reverse. SDL passes
    // on only changes, so reverse's second pulse reaches the motors only if the first was stopped.
    ManualAlarm alarm;
    GateFeel feel(slot, alarm);
    feel.SetStrength(60);
    feel.FollowGear(3);
    alarm.Ring();
    feel.FollowGear(0);
    feel.FollowGear(9);
    alarm.RingAll();
    const Motors on{39321, 39321}, off{0, 0};
    EXPECT_EQ(std::vector(rumbles.begin() + 2, rumbles.end()),
              (std::vector<Motors>{on, off, on, off, on, off}));

    // A pad without motors refuses, and reads as before.
    EXPECT_FALSE(without->Rumble(65535, 40));
    plain.SetAxis(0, 32767);
    EXPECT_EQ(Read(*without).axis(AxisSlot::X), 10000);
}

}  // namespace
}  // namespace vantrel
