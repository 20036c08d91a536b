// One poll cycle on a fake controller: the rows it writes, the passes it runs, and what a failed
// read does. (A failed key send ends the program: see the main window's CycleFailure.)
#include "engine/poll_cycle.h"

#include <gtest/gtest.h>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "doubles/live_views.h"

namespace vantrel {
namespace {

struct Rig {
    CycleEnd Cycle() { return RunPollCycle(s, slot, keys, display); }

    ShiftState s = testing::DefaultSettings();
    ControllerSlot slot;
    testing::FakeController* device = &testing::PlugFakeController(slot);
    testing::RecordingKeyOutput keys;
    testing::RecordingView display;
};

TEST(PollCycle, EachAxisFoundIsARowAndAPassInFixedOrderThenTheButtonsAndTheSums) {
    Rig rig;
    for (AxisSlot a : {AxisSlot::Z, AxisSlot::RotationZ}) {  // besides X and Y
        rig.slot.hasAxis[static_cast<size_t>(a)] = true;
    }
    rig.slot.buttons = 40;  // a report holds 32
    rig.device->next.axes = {3000, 0, -5, 0, 0, 7, 0, 0};
    rig.device->next.buttons[2] = true;
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
    none.slot.hasAxis = {};
    none.Cycle();
    EXPECT_TRUE(none.keys.sent.empty());
    EXPECT_TRUE(none.display.axisRows.empty());
    EXPECT_EQ(none.display.gearRows.size(), 9u);
}

TEST(PollCycle, NoControllerOrALostOneShowsAndSendsNothingOtherReadFailuresUseTheOldReport) {
    for (const bool open : {false, true}) {
        Rig rig;
        if (!open) {
            rig.slot.controller.reset();  // no controller chosen
            EXPECT_EQ(rig.Cycle(), CycleEnd::NoController);
        } else {
            rig.device->nextFailure = ReadResult::Lost;
            EXPECT_EQ(rig.Cycle(), CycleEnd::Lost);
        }
        EXPECT_TRUE(rig.keys.sent.empty());
        EXPECT_EQ(rig.display.rowWrites, 0);
    }
    Rig rig;
    rig.device->next.axis(AxisSlot::X) = 3000;
    rig.Cycle();
    rig.device->next.axis(AxisSlot::X) = 9000;
    rig.device->nextFailure = ReadResult::Failed;
    EXPECT_EQ(rig.Cycle(), CycleEnd::Completed);
    EXPECT_EQ(rig.display.axisRows[0], "X: 3000");
}

}  // namespace
}  // namespace vantrel
