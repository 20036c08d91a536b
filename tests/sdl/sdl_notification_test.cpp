// Change notifications of the SDL controller service, pump by pump: which changes notify, that one
// pump notifies once, that a busy receiver is never called again, and the loss of the device.
#include <gtest/gtest.h>

#include <memory>

#include "engine/poll_cycle.h"
#include "sdl/virtual_pad.h"
#include "services/sdl/sdl_controller_service.h"
#include "settings/load_settings.h"
#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::VirtualPad;

class SdlNotificationTest : public ::testing::Test {
  protected:
    void SetUp() override {
        handle = service.CreateEvent([this](int32_t id) {
            ++calls;
            lastEventId = id;
            if (onCall) onCall();
        });
        ASSERT_NE(handle, 0);
        ASSERT_TRUE(pad.ok());
        device = service.CreateDevice(pad.id());
        ASSERT_TRUE(device);
        ASSERT_EQ(device->SetEventNotification(handle), DI_OK);
        ASSERT_EQ(device->Acquire(), DI_OK);
        service.PumpOnce();
        calls = 0;
    }

    SdlControllerService service;
    VirtualPad pad{"Gear Stick", 2, 12};
    std::unique_ptr<ControllerDevice> device;
    int32_t handle = 0;
    int calls = 0;
    int32_t lastEventId = 0;
    std::function<void()> onCall;
};

TEST_F(SdlNotificationTest, ChangesSeenInOnePumpAreOneNotification) {
    EXPECT_FALSE(service.PumpOnce().changed);
    EXPECT_EQ(calls, 0);

    pad.SetAxis(0, 20000);
    pad.SetAxis(1, -20000);
    pad.SetButton(3, true);
    const PumpReport report = service.PumpOnce();
    EXPECT_TRUE(report.changed);
    EXPECT_TRUE(report.watching);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(lastEventId, handle);

    // Setting the same values again is no change.
    pad.SetAxis(0, 20000);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);

    pad.SetButton(3, false);
    service.PumpOnce();
    EXPECT_EQ(calls, 2);
}

TEST_F(SdlNotificationTest, OnlyAcquiredBoundDevicesNotify) {
    ASSERT_EQ(device->SetEventNotification(0), DI_OK);
    pad.SetAxis(0, 20000);
    EXPECT_FALSE(service.PumpOnce().watching);
    EXPECT_EQ(calls, 0);

    ASSERT_EQ(device->SetEventNotification(handle), DI_OK);
    ASSERT_EQ(device->Unacquire(), DI_OK);
    pad.SetAxis(0, -20000);
    service.PumpOnce();
    EXPECT_EQ(calls, 0);

    // Acquiring again: the change made meanwhile is reported by the next pump.
    ASSERT_EQ(device->Acquire(), DI_OK);
    pad.SetAxis(0, 0);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);

    EXPECT_NE(device->SetEventNotification(handle + 100), DI_OK);
    service.DestroyEvent(handle);
    pad.SetAxis(0, 30000);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
}

TEST_F(SdlNotificationTest, ChangesInsideTheDeadZoneAreNoChange) {
    device->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, DIJOFS_X, 1000});
    device->SetRangeProperty({DIPH_DEVICE, 0, 0, 10000});
    service.PumpOnce();
    calls = 0;
    pad.SetAxis(0, 1500);  // a resting stick that jitters near the centre
    service.PumpOnce();
    pad.SetAxis(0, -900);
    service.PumpOnce();
    EXPECT_EQ(calls, 0);
}

TEST_F(SdlNotificationTest, TwoDevicesOnOneEventChangingTogetherNotifyOnce) {
    VirtualPad second("Gear Stick", 2, 12);
    auto other = service.CreateDevice(second.id());
    ASSERT_TRUE(other);
    ASSERT_EQ(other->SetEventNotification(handle), DI_OK);
    ASSERT_EQ(other->Acquire(), DI_OK);
    service.PumpOnce();
    calls = 0;
    pad.SetAxis(0, 20000);
    second.SetAxis(0, 20000);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
}

TEST_F(SdlNotificationTest, ABusyReceiverIsNotCalledAgainButGetsTheChangeAfterwards) {
    int depth = 0;
    int maxDepth = 0;
    onCall = [&] {
        ++depth;
        maxDepth = std::max(maxDepth, depth);
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

    // The changes seen while it was busy are one notification, delivered by the next pump.
    service.PumpOnce();
    EXPECT_EQ(calls, 2);
    service.PumpOnce();
    EXPECT_EQ(calls, 2);
}

TEST_F(SdlNotificationTest, HeldNotificationsArriveOnceAfterTheHold) {
    {
        const NotificationHold hold = service.HoldNotifications();
        pad.SetAxis(0, 20000);
        EXPECT_TRUE(service.PumpOnce().watching);
        pad.SetAxis(1, 20000);
        service.PumpOnce();
        EXPECT_EQ(calls, 0);
    }
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
}

TEST_F(SdlNotificationTest, AReceiverMayDestroyItsEventAndCloseTheDevice) {
    onCall = [&] {
        service.DestroyEvent(handle);
        device.reset();
    };
    pad.SetAxis(0, 20000);
    service.PumpOnce();
    EXPECT_EQ(calls, 1);
    pad.SetAxis(0, 0);
    EXPECT_FALSE(service.PumpOnce().watching);
    EXPECT_EQ(calls, 1);
}

TEST_F(SdlNotificationTest, DetachNotifiesOnceAndTheCycleReadsTheLoss) {
    int32_t read = DI_OK;
    int32_t reacquire = DI_OK;
    onCall = [&] {
        DIJOYSTATE state;
        read = device->GetDeviceStateJoystick(state);
        if (read != DI_OK) reacquire = device->Acquire();
    };
    pad.Detach();
    const PumpReport report = service.PumpOnce();
    EXPECT_TRUE(report.changed);
    EXPECT_EQ(calls, 1);
    EXPECT_EQ(read, DIERR_INPUTLOST);
    EXPECT_NE(reacquire, DI_OK);

    EXPECT_FALSE(service.PumpOnce().watching);
    EXPECT_EQ(calls, 1);
}

TEST_F(SdlNotificationTest, TheNotificationRunsThePollCycleOnTheConfiguredStick) {
    MainState state;
    LoadSettings(state, "/nonexistent/config.ini");  // the default gate and keys
    DeviceSlot slot;
    slot.diDev = std::move(device);
    slot.diDev->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, DIJOFS_X, 1000});
    slot.diDev->SetProperty(DiLongProperty::DIPROP_DEADZONE, {DIPH_BYOFFSET, DIJOFS_Y, 1000});
    slot.diDev->SetRangeProperty({DIPH_DEVICE, 0, 0, 10000});
    slot.diDev->GetCapabilities(slot.deviceCaps);
    slot.axisFound[1] = slot.axisFound[2] = kTrue;
    testing::RecordingKeySender keys;
    testing::RecordingDisplay display;
    onCall = [&] { DirectXEvent8_DXCallback(state, slot, keys, display, handle); };

    // Gear 3: column 3/4, top row.
    pad.SetAxis(0, -15073);  // x = 3000 (dead zone 1000, no saturation)
    pad.SetAxis(1, -32768);  // y = 0
    service.PumpOnce();
    ASSERT_EQ(calls, 1);
    EXPECT_EQ(display.axisRows, (std::vector<std::string>{"X: 3000", "Y: 0"}));
    ASSERT_EQ(keys.sent.size(), 18U);
    EXPECT_EQ(keys.sent[9 + 2], "{w down}");
    EXPECT_EQ(display.buttonRows.size(), 12U);
}

}  // namespace
}  // namespace vantrel
