#include "engine/poll_cycle.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::FakeDevice;
using testing::RecordingDisplay;
using testing::RecordingKeySender;

struct Rig {
    Rig() {
        auto d = std::make_unique<FakeDevice>();
        device = d.get();
        slot.diDev = std::move(d);
        slot.deviceCaps.lButtons = 12;
        slot.axisFound[1] = kTrue;
        slot.axisFound[2] = kTrue;
    }
    CycleEnd Cycle() { return DirectXEvent8_DXCallback(s, slot, keys, display, 0); }

    MainState s = testing::DefaultSettings();
    DeviceSlot slot;
    FakeDevice* device;
    RecordingKeySender keys;
    RecordingDisplay display;
};

TEST(PollCycle, TwoAxisControllerShiftsIntoGearThreeInOneCycle) {
    Rig rig;
    rig.slot.deviceCaps.lButtons = 40;  // the record holds 32
    rig.device->next.x = 3000;
    rig.device->next.y = 0;
    rig.device->next.buttons[2] = 1;
    EXPECT_EQ(rig.Cycle(), CycleEnd::Completed);
    ASSERT_EQ(rig.keys.sent.size(), 18u);
    EXPECT_EQ(rig.keys.sent[9 + 2], "{w down}");
    EXPECT_EQ(rig.display.axisRows, (std::vector<std::string>{"X: 3000", "Y: 0"}));
    ASSERT_EQ(rig.display.buttonRows.size(), 32u);
    EXPECT_EQ(rig.display.buttonRows[0], "Button 1: Up");
    EXPECT_EQ(rig.display.buttonRows[2], "Button 3: Down");
    EXPECT_EQ(rig.display.buttonRows[31], "Button 32: Up");
    EXPECT_EQ(rig.display.gearRows[2], "gear 3: 3");
    EXPECT_EQ(rig.display.gearRows[8], "gear 9: 1");
    EXPECT_EQ(rig.display.caption, kCaptionAvailable);
}

TEST(PollCycle, EachAxisFoundIsARowAndAPassInFixedOrderWithoutGaps) {
    Rig rig;
    rig.slot.axisFound = {};
    for (int i : {1, 2, 3, 6}) rig.slot.axisFound[i] = kTrue;
    rig.device->next.z = -5;
    rig.device->next.rz = 7;
    rig.Cycle();
    EXPECT_EQ(rig.display.axisRows, (std::vector<std::string>{"X: 0", "Y: 0", "Z: -5", "RZ: 7"}));
    EXPECT_EQ(rig.keys.sent.size(), 36u);

    Rig none;  // no axis: no pass, but the other lists are still written
    none.slot.axisFound = {};
    none.Cycle();
    EXPECT_TRUE(none.keys.sent.empty());
    EXPECT_TRUE(none.display.axisRows.empty());
    EXPECT_EQ(none.display.gearRows.size(), 9u);
}

TEST(PollCycle, NoDeviceOrALostOneShowsAndSendsNothingOtherReadFailuresUseTheOldRecord) {
    for (const int32_t code : {DI_OK, DIERR_INPUTLOST, DIERR_NOTACQUIRED}) {
        Rig rig;
        if (code == DI_OK) {
            rig.slot.diDev.reset();  // no controller chosen
            EXPECT_EQ(rig.Cycle(), CycleEnd::NoDevice);
        } else {
            rig.device->nextError = code;
            EXPECT_EQ(rig.Cycle(), CycleEnd::Recovered);
            EXPECT_EQ(rig.device->acquireCalls, 1) << "a lost device is acquired again";
        }
        EXPECT_TRUE(rig.keys.sent.empty());
        EXPECT_EQ(rig.display.rowWrites, 0);
    }
    Rig rig;
    rig.device->next.x = 3000;
    rig.Cycle();
    rig.device->next.x = 9000;
    rig.device->nextError = DIERR_GENERIC;
    EXPECT_EQ(rig.Cycle(), CycleEnd::Completed);
    EXPECT_EQ(rig.display.axisRows[0], "X: 3000");
}

TEST(PollCycle, FailedSendLetsKeysGoThenReportsDescriptionAndNumber) {
    Rig rig;
    rig.keys.FailOnCall(3);
    EXPECT_EQ(rig.Cycle(), CycleEnd::Failed);
    EXPECT_EQ(rig.keys.sent.size(), 2u);
    EXPECT_EQ(rig.keys.releaseAllCalls, 1);
    ASSERT_EQ(rig.display.errors.size(), 1u);
    EXPECT_EQ(rig.display.errors[0], "The key could not be sent : 1001");
    EXPECT_EQ(rig.display.caption, "");
}

}  // namespace
}  // namespace vantrel
