// One poll cycle on a fake device: the rows it writes, the passes it runs, and what a failed read
// does. (A failed key send ends the program: see the shell's CycleFailure.)
#include "engine/poll_cycle.h"

#include <gtest/gtest.h>

#include "doubles/fakes.h"

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

TEST(PollCycle, EachAxisFoundIsARowAndAPassInFixedOrderThenTheButtonsAndTheSums) {
    Rig rig;
    for (int i : {3, 6}) rig.slot.axisFound[i] = kTrue;  // besides X and Y
    rig.slot.deviceCaps.lButtons = 40;                   // the record holds 32
    rig.device->next = {.x = 3000, .y = 0, .z = -5, .rz = 7};
    rig.device->next.buttons[2] = 1;
    EXPECT_EQ(rig.Cycle(), CycleEnd::Completed);
    EXPECT_EQ(rig.display.axisRows,
              (std::vector<std::string>{"X: 3000", "Y: 0", "Z: -5", "RZ: 7"}));
    ASSERT_EQ(rig.keys.sent.size(), 4u * 9u);
    EXPECT_EQ(rig.keys.sent[9 + 2], "{w down}") << "the second pass shifts into gear 3";
    ASSERT_EQ(rig.display.buttonRows.size(), 32u);
    EXPECT_EQ(rig.display.buttonRows[0], "Button 1: Up");
    EXPECT_EQ(rig.display.buttonRows[2], "Button 3: Down");
    EXPECT_EQ(rig.display.buttonRows[31], "Button 32: Up");
    EXPECT_EQ(rig.display.gearRows[2], "gear 3: 3");
    EXPECT_EQ(rig.display.gearRows[8], "gear 9: 1");
    EXPECT_EQ(rig.display.caption, kCaptionAvailable);

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

}  // namespace
}  // namespace vantrel
