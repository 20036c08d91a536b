// One poll cycle on a fake controller: what a failed read does, and the range and splitter
// buttons. (Rows and passes in full: the replay corpus.)
#include "engine/poll_cycle.h"

#include <gtest/gtest.h>

#include <vector>

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

TEST(PollCycle, RangeAndSplitterAreButtonsFromTheFirstToTheControllersLast) {
    struct KnobRecorder : ShifterOutput {
        void SetGear(int, int32_t, int32_t) override {}
        void SetKnob(bool range, bool splitter) override { knob = {range, splitter}; }
        void ReleaseAll() noexcept override {}
        std::pair<bool, bool> knob{true, true};
    };
    const struct {
        int buttons;
        int16_t range, splitter;
        std::vector<int> down;
        std::pair<bool, bool> knob;
    } cases[] = {
        {12, 1, 12, {1, 12}, {true, true}},    {12, 1, 12, {2, 11}, {false, false}},
        {12, 12, 13, {12, 13}, {true, false}},  // beyond the controller's buttons: never down
        {40, 32, 0, {32}, {true, false}},      {31, 31, 32, {31, 32}, {true, false}},
    };
    for (const auto& c : cases) {
        Rig rig;
        rig.slot.buttons = c.buttons;
        rig.s.rangeButton = c.range;
        rig.s.splitterButton = c.splitter;
        for (int b : c.down) rig.device->next.buttons[static_cast<size_t>(b - 1)] = true;
        KnobRecorder shifter;
        RunPollCycle(rig.s, rig.slot, rig.keys, rig.display, &shifter);
        EXPECT_EQ(shifter.knob, c.knob)
            << c.buttons << " buttons, " << c.range << "/" << c.splitter;
    }
}

}  // namespace
}  // namespace vantrel
