// The virtual shifter through a stand-in for /dev/uinput: the joystick it asks the kernel for,
// what games read during a gear walk of the real poll cycle, and every way out letting go.

#include "backends/uinput/uinput_shifter.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "doubles/live_views.h"
#include "doubles/uinput_recorder.h"
#include "engine/poll_cycle.h"
#include "output/release_on_termination.h"
#include "settings/load_settings.h"

namespace vantrel {
namespace {

using testing::RecordingUinput;
using testing::UinputRecord;

// What games read (see EventText): " b2- b1+;" is button 2 let go and button 1 pressed in one
// report.
std::string Reports(const std::vector<input_event>& events) {
    return testing::EventText(
        events, [](int code) { return "b" + std::to_string(code - BTN_TRIGGER + 1); });
}

TEST(UinputShifter, AJoystickNamedAndNumberedAsGamesExpect) {
    UinputRecord k;
    { UinputShifter shifter(std::make_unique<RecordingUinput>(k)); }

    EXPECT_EQ(k.steps, (std::vector<std::string>{"describe", "create", "destroy"}));
    // Games keep their bindings by name and ids (the ids: tests/kernel).
    EXPECT_STREQ(k.setup.name, "Vantrel H-Shifter");
    EXPECT_EQ(k.bits[UI_SET_EVBIT], (std::set<int>{EV_SYN, EV_KEY, EV_ABS}));
    EXPECT_EQ(k.bits[UI_SET_ABSBIT], (std::set<int>{ABS_X, ABS_Y}));
    ASSERT_EQ(k.axes.size(), 2u);
    for (const uinput_abs_setup& a : k.axes) {
        EXPECT_EQ(std::tuple(a.absinfo.minimum, a.absinfo.maximum, a.absinfo.value),
                  std::tuple(0, 10000, 5000));
    }
    // Joystick interfaces (SDL, Wine, the kernel's js devices, udev's joystick class) number the
    // buttons by code from BTN_JOYSTICK upward: eleven codes in a row from there are buttons 1..11.
    std::set<int> buttons;
    for (int b = BTN_JOYSTICK; b < BTN_JOYSTICK + 11; ++b) buttons.insert(b);
    EXPECT_EQ(k.bits[UI_SET_KEYBIT], buttons);
}

// The real poll cycle on a two-axis controller with 12 buttons: range is button 5, splitter
// button 12, the controller's last.
struct CycleRig {
    CycleRig() {
        LoadSettings(s, "/nonexistent/vantrel-shifter/config.ini");
        s.rangeButton = 5;
        s.splitterButton = 12;
        pad = &testing::PlugFakeController(slot);
    }
    CycleEnd Cycle(int32_t x, int32_t y, std::set<int> buttonsDown = {}) {
        pad->next = testing::StickAt(x, y);
        for (int b : buttonsDown) pad->next.buttons[static_cast<size_t>(b - 1)] = true;
        return RunPollCycle(s, slot, keys, display, &shifter);
    }

    UinputRecord k;
    UinputShifter shifter{std::make_unique<RecordingUinput>(k)};
    ShiftState s;
    ControllerSlot slot;
    testing::FakeController* pad = nullptr;
    testing::RecordingKeyOutput keys;
    testing::RecordingView display;
};

TEST(UinputShifter, GearWalkReportsOnlyChangesReleasesFirst) {
    CycleRig rig;
    rig.Cycle(5000, 5000);
    rig.Cycle(-300, 10000);  // gear 2; a position off the scale reads as its end
    rig.Cycle(0, 0, {5, 12});
    rig.Cycle(0, 0, {1, 5});
    rig.Cycle(0, 0, {1, 5});
    rig.shifter.ReleaseAll();
    // Each cycle's first pass still decides on the previous position; the second one on the new.
    EXPECT_EQ(Reports(rig.k.events),
              " x=0 y=10000; b2+;"         // neutral -> gear 2
              " y=0; b2- b1+; b10+ b11+;"  // gear 1, range and splitter held
              " b1- b9+; b11-;"            // button 1: reverse
              " b9- b10-;");               // every button let go
    EXPECT_EQ(rig.keys.sent.size(), 5u * 2u * 9u) << "the keys go on beside the shifter";
}

TEST(UinputShifter, FailedWriteEndsTheCycleAndTheButtonsAreLetGoBeforeTheMessage) {
    CycleRig rig;
    rig.Cycle(0, 0);
    rig.Cycle(0, 0);  // gear 1 held
    struct Display : testing::RecordingView {
        void ShowCycleError(const std::string& message) override {
            errors.push_back(message + " | reports " +
                             std::to_string(std::ranges::count(Reports(k->events), ';')));
        }
        UinputRecord* k = nullptr;
    } display;
    display.k = &rig.k;
    rig.k.failWrites = 1;
    rig.pad->next.axis(AxisSlot::Y) = 10000;
    EXPECT_EQ(RunPollCycle(rig.s, rig.slot, rig.keys, display, &rig.shifter), CycleEnd::Failed);
    ASSERT_EQ(display.errors.size(), 1u);
    EXPECT_TRUE(display.errors[0].starts_with("writing to the virtual shifter failed"));
    EXPECT_TRUE(display.errors[0].ends_with(" : 1002 | reports 3")) << display.errors[0];
    EXPECT_TRUE(Reports(rig.k.events).ends_with("; b1-;")) << "the failed write changed nothing";
}

// A child process holds gear 3 on a shifter whose writes also go into a pipe, then ends in one of
// the ways below without destroying it; the parent reads what games would have read.
TEST(UinputShifter, EveryWayOutOfTheProcessLetsTheButtonsGo) {
    enum Way { kSignal, kExit, kQuickExit };
    const std::pair<Way, int> kWays[] = {
        {kSignal, SIGINT}, {kSignal, SIGTERM}, {kSignal, SIGHUP}, {kExit, 0}, {kQuickExit, 0}};
    for (const auto& [way, sig] : kWays) {
        SCOPED_TRACE(::testing::Message() << "way " << way << ", signal " << sig);
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        const pid_t child = ::fork();
        if (child == 0) {
            ::close(fds[0]);
            auto* written = new UinputRecord;
            written->copyTo = fds[1];
            auto* shifter = new UinputShifter(std::make_unique<RecordingUinput>(*written));
            ReleaseOutputsOnTerminationSignals();
            shifter->SetGear(3, 5000, 5000);
            if (way == kExit) std::exit(0);
            if (way == kQuickExit) std::quick_exit(0);  // the tray's "&Close"
            for (;;) ::pause();
        }
        ::close(fds[1]);
        std::vector<input_event> events;
        input_event e;
        while (::read(fds[0], &e, sizeof e) == sizeof e) {
            events.push_back(e);
            if (way == kSignal && events.size() == 2) ::kill(child, sig);  // b3+ and its report
        }
        ::close(fds[0]);
        int status = 0;
        ::waitpid(child, &status, 0);
        EXPECT_EQ(Reports(events), " b3+; b3-;");
        if (way == kSignal) {
            EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == sig) << status;
        } else {
            EXPECT_TRUE(WIFEXITED(status)) << status;
        }
    }
}

}  // namespace
}  // namespace vantrel
