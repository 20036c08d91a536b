// The SDL controller service on SDL virtual joysticks: enumeration, opening by identity, axis
// objects, scaling, buttons, loss of the device, and the change notifications with their pump;
// and the hot-plug watch of the device folder.
#include "backends/sdl/sdl_controller_service.h"

#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <algorithm>
#include <array>
#include <fstream>
#include <memory>

#include "backends/sdl/controller_pump.h"
#include "backends/sdl/hotplug_watch.h"
#include "backends/sdl/sdl_errors.h"
#include "doubles/virtual_pad.h"
#include "support/qt_wait.h"

namespace vantrel {
namespace {

using testing::VirtualPad;
using testing::WaitUntil;

class SdlServiceTest : public ::testing::Test {
  protected:
    // Opens the pad's device, configured as the controller selection does it, bound to `handle`
    // and acquired.
    std::unique_ptr<ControllerDevice> Open(const VirtualPad& pad) {
        auto device = service.CreateDevice(pad.id());
        if (!device) return nullptr;
        for (const int32_t offset : {DIJOFS_X, DIJOFS_Y}) {
            device->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, offset, 1000});
            device->SetProperty(DiLongProperty::DIPROP_SATURATION, {DIPH_BYOFFSET, offset, 9500});
        }
        device->SetRangeProperty({DIPH_DEVICE, 0, 0, 10000});
        EXPECT_EQ(device->SetEventNotification(handle), DI_OK);
        EXPECT_EQ(device->Acquire(), DI_OK);
        return device;
    }
    DIJOYSTATE Read(ControllerDevice& device) {
        service.PumpOnce();
        DIJOYSTATE state;
        EXPECT_EQ(device.GetDeviceStateJoystick(state), DI_OK);
        return state;
    }

    SdlControllerService service;
    int calls = 0;
    std::function<void()> onCall;
    const int32_t handle = service.CreateEvent([this](int32_t) {
        ++calls;
        if (onCall) onCall();
    });
};

TEST_F(SdlServiceTest, SameNamedControllersAreSeparateWithTheirAxesAndReadOnlyWhileAcquired) {
    VirtualPad first("Gear Stick", 2, 4), other("Wheel", 10, 4), second("Gear Stick", 2, 4);
    std::vector<std::string> listed;
    for (const DeviceInstance& d : service.GetDIDevices()) {
        listed.push_back(d.instanceName + " " + d.guidInstance);
    }
    EXPECT_EQ(listed, (std::vector<std::string>{"Gear Stick " + first.id(), "Wheel " + other.id(),
                                                "Gear Stick " + second.id()}));
    auto deviceA = Open(first);
    auto deviceB = Open(second);
    ASSERT_TRUE(deviceA && deviceB);
    second.SetAxis(0, 32767);
    EXPECT_EQ(Read(*deviceA).x, 5000);
    EXPECT_EQ(Read(*deviceB).x, 10000);
    ASSERT_EQ(deviceB->Unacquire(), DI_OK);
    DIJOYSTATE state;
    EXPECT_EQ(deviceB->GetDeviceStateJoystick(state), DIERR_NOTACQUIRED);
    EXPECT_EQ(deviceB->Poll(), DIERR_NOTACQUIRED);

    // Axis objects follow SDL's axis order, up to the eight the record holds.
    const std::vector<std::string> eight = {"GUID_XAxis",  "GUID_YAxis",  "GUID_ZAxis",
                                            "GUID_RxAxis", "GUID_RyAxis", "GUID_RzAxis",
                                            "GUID_Slider", "GUID_Slider"};
    EXPECT_EQ(deviceA->GetAxisObjectTypes(), std::vector(eight.begin(), eight.begin() + 2));
    auto wheel = service.CreateDevice(other.id());
    ASSERT_TRUE(wheel);
    EXPECT_EQ(wheel->GetAxisObjectTypes(), eight);
    DIDEVCAPS caps;
    EXPECT_EQ(wheel->GetCapabilities(caps), DI_OK);
    EXPECT_EQ(caps.lAxes, 8);

    const std::string id = other.id();
    for (const std::string& unknown : {std::string(), std::string("abc"), id + "0", " " + id}) {
        EXPECT_EQ(service.CreateDevice(unknown), nullptr) << unknown;
    }
    other.Detach();
    EXPECT_EQ(service.GetDIDevices().size(), 2U);
    EXPECT_EQ(service.CreateDevice(id), nullptr);
}

TEST_F(SdlServiceTest, SelectionScalingOnBothStickAxes) {
    VirtualPad pad("Pad", 2, 2);
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
        const DIJOYSTATE state = Read(*device);
        EXPECT_EQ(state.x, c.x) << "raw " << c.raw;
        EXPECT_EQ(state.y, 10000 - c.x) << "raw " << c.raw;
    }
    // Left unconfigured, an axis spans 0..65535 from end to end.
    auto plain = service.CreateDevice(pad.id());
    ASSERT_EQ(plain->Acquire(), DI_OK);
    pad.SetAxis(1, 32767);
    const DIJOYSTATE state = Read(*plain);
    EXPECT_EQ(std::pair(state.x, state.y), std::pair(0, 65535));
}

TEST_F(SdlServiceTest, ButtonsPastThirtyTwoAreCountedButNeverRead) {
    VirtualPad pad("Big", 2, 40);
    auto device = Open(pad);
    ASSERT_TRUE(device);
    DIDEVCAPS caps;
    ASSERT_EQ(device->GetCapabilities(caps), DI_OK);
    EXPECT_EQ(caps.lButtons, 40);
    for (const int button : {0, 31, 35}) pad.SetButton(button, true);
    // The record sits before a guard that a write past its 32 button bytes would change; one into
    // a temporary record is caught by a VANTREL_SANITIZE build (AddressSanitizer).
    struct {
        DIJOYSTATE state;
        std::array<uint8_t, 64> guard{};
    } guarded;
    service.PumpOnce();
    ASSERT_EQ(device->GetDeviceStateJoystick(guarded.state), DI_OK);
    for (size_t i = 0; i < kButtonSlots; ++i) {
        EXPECT_EQ(guarded.state.buttons[i] != 0, i == 0 || i == 31) << i;
    }
    EXPECT_EQ(guarded.guard, (std::array<uint8_t, 64>{}));
}

TEST_F(SdlServiceTest, ChangesSeenInOnePumpAreOneNotification) {
    VirtualPad pad("Gear Stick", 2, 12), second("Gear Stick", 2, 12);
    auto device = Open(pad);
    auto other = Open(second);  // bound to the same event
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

    // A receiver may destroy its event and close the device.
    onCall = [&] {
        service.DestroyEvent(handle);
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

    // The loss is one notification, whose read finds it and whose re-acquiring fails, as in the
    // poll cycle; then nothing is left to pump.
    onCall = [&] {
        DIJOYSTATE state;
        EXPECT_EQ(device->GetDeviceStateJoystick(state), DIERR_INPUTLOST);
        EXPECT_EQ(device->Acquire(), DIERR_INPUTLOST);
    };
    pad.Detach();
    ASSERT_TRUE(WaitUntil([&] { return pump.pace() == PumpPace::Dormant; }));
    EXPECT_EQ(calls, 3);
}

// A node appearing in the device folder wakes the watch at once, long before its slow timer
// would, and it looks often for a while after (SDL hears of the device a moment later).
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
}

}  // namespace
}  // namespace vantrel
