// Outputs that follow the engaged gear: the up/down taps of sequential output and the rumble
// pulse, on a hand-rung alarm. (The field map, key by key: the replay corpus.)
#include <gtest/gtest.h>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"
#include "doubles/key_outputs.h"
#include "doubles/live_views.h"
#include "doubles/manual_alarm.h"
#include "engine/gate_feel.h"
#include "engine/poll_cycle.h"
#include "engine/sequential_taps.h"
#include "ports/service_error.h"

namespace vantrel {
namespace {

using namespace std::chrono_literals;
using Sent = std::vector<std::string>;

Sent Taps(const char* key, int times) {
    Sent sent;
    for (int i = 0; i < times; ++i) {
        sent.push_back(std::string("{") + key + " down}");
        sent.push_back(std::string("{") + key + " up}");
    }
    return sent;
}

Sent operator+(Sent a, const Sent& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

struct TapsRig {
    TapsRig() { taps.Reset(settings); }
    testing::RecordingKeyOutput keys;
    testing::ManualAlarm alarm;
    SequentialTaps taps{keys, alarm};
    TapSettings settings{AssignKey("u"), AssignKey("j"), 40ms, 60ms};
};

TEST(SequentialTaps, OneTapPerStepFromNeutralThroughReverseAndNeutralSendsNothing) {
    TapsRig r;
    r.taps.FollowGear(3);
    EXPECT_EQ(r.keys.sent, Sent{"{u down}"}) << "only the first press inside the pass";
    EXPECT_EQ(r.alarm.delay, 40ms);
    r.alarm.Ring();
    EXPECT_EQ(r.alarm.delay, 60ms) << "the gap after each press";
    r.alarm.RingAll();
    EXPECT_EQ(r.keys.sent, Taps("u", 3));
    EXPECT_EQ(r.taps.gameGear(), 3);

    r.keys.sent.clear();
    r.taps.FollowGear(kNeutral);
    r.taps.FollowGear(3);
    EXPECT_FALSE(r.alarm.pending) << "the lever crossing neutral, back to the game's gear";
    r.taps.FollowGear(kReverse);
    r.alarm.RingAll();
    r.taps.FollowGear(1);
    r.alarm.RingAll();
    EXPECT_EQ(r.keys.sent, Taps("j", 4) + Taps("u", 2));
    EXPECT_FALSE(r.taps.busy());
}

TEST(SequentialTaps, ANewGearRetargetsTheRestAndEveryWayOutEndsATapWithItsKeyUp) {
    TapsRig r;
    r.taps.FollowGear(5);
    r.alarm.Ring();
    r.alarm.Ring();  // the second press is down: the game is in 2
    r.taps.FollowGear(1);
    EXPECT_EQ(r.keys.sent.size(), 3u) << "the press under way is not cut short";
    r.alarm.RingAll();
    EXPECT_EQ(r.keys.sent, Taps("u", 2) + Taps("j", 1));

    r.keys.sent.clear();
    r.taps.FollowGear(4);  // controller lost mid-press
    r.taps.ReleaseAll();
    EXPECT_EQ(r.keys.sent, Taps("u", 1));
    EXPECT_FALSE(r.alarm.pending) << "the rest is dropped with the lever";
    r.taps.FollowGear(4);
    r.alarm.RingAll();
    EXPECT_EQ(r.taps.gameGear(), 4);

    r.keys.sent.clear();
    r.taps.FollowGear(6);
    r.settings.up = AssignKey("i");
    r.taps.Reset(r.settings);  // a reload: the game's gear counts from neutral again
    r.taps.FollowGear(1);
    r.alarm.RingAll();
    EXPECT_EQ(r.keys.sent, Taps("u", 1) + Taps("i", 1));
}

TEST(SequentialTaps, AKeyTheAlarmCannotSendIsReportedAfterEveryKeyIsLetGo) {
    TapsRig r;
    r.taps.FollowGear(2);
    r.keys.FailOnCall(1);
    EXPECT_THROW(r.alarm.Ring(), ServiceError) << "without a handler: to whoever rang";

    TapsRig h;
    std::string told;
    h.taps.onFailure = [&](const std::string& message) {
        told = message;
        EXPECT_EQ(h.keys.sent, Taps("u", 1)) << "let go before the user is told";
    };
    h.taps.FollowGear(2);
    h.keys.FailOnCall(1);
    h.alarm.Ring();
    EXPECT_EQ(told, "The key could not be sent : 1001");
    EXPECT_FALSE(h.taps.busy());
    EXPECT_FALSE(h.alarm.pending);
}

struct FeelRig {
    FeelRig() { feel.SetStrength(60); }
    ControllerSlot slot;
    testing::FakeController& pad = testing::PlugFakeController(slot);
    testing::ManualAlarm alarm;
    GateFeel feel{slot, alarm};
};

TEST(GateFeel, OnePulsePerEngagementTwoForReverseNoneForNeutralOrWithoutRumble) {
    using Pulses = std::vector<std::pair<uint16_t, uint32_t>>;
    const std::pair<uint16_t, uint32_t> on{39321, 40}, off{0, 0};  // 60 % of full strength
    FeelRig r;
    r.feel.FollowGear(3);
    r.feel.FollowGear(3);
    EXPECT_EQ(r.pad.rumbles, (Pulses{on})) << "once per engagement, not per pass";
    EXPECT_EQ(r.alarm.delay, 40ms);
    r.alarm.RingAll();
    r.feel.FollowGear(kNeutral);
    r.feel.FollowGear(3);
    r.alarm.RingAll();
    EXPECT_EQ(r.pad.rumbles, (Pulses{on, off, on, off}));

    r.pad.rumbles.clear();
    r.feel.FollowGear(kReverse);
    r.alarm.Ring();
    EXPECT_EQ(r.alarm.delay, 60ms) << "the pause between reverse's pulses";
    r.alarm.RingAll();
    r.feel.FollowGear(2);
    r.feel.ReleaseAll();  // every way out stops the motors
    EXPECT_EQ(r.pad.rumbles, (Pulses{on, off, on, off, on, off}));
    EXPECT_FALSE(r.alarm.pending);

    r.pad.rumbles.clear();
    r.feel.SetStrength(0);
    r.feel.FollowGear(4);
    r.pad.canRumble = false;
    r.feel.SetStrength(100);
    r.feel.FollowGear(5);
    EXPECT_TRUE(r.pad.rumbles.empty());
    EXPECT_FALSE(r.alarm.pending) << "a controller without rumble: nothing to stop";
}

TEST(PollCycle, FollowersGetTheEngagedGearAfterThePassKeysAndAreLetGoOnAFailure) {
    struct Follower : GearFollower {
        explicit Follower(const Sent& sent) : sent(sent) {}
        void FollowGear(int gear) override { seen.emplace_back(gear, sent.size()); }
        void ReleaseAll() noexcept override { ++releases; }
        const Sent& sent;
        std::vector<std::pair<int, size_t>> seen;  // gear, key events sent before
        int releases = 0;
    };
    ShiftState s = testing::DefaultSettings();
    s.fieldMap = {kReverse, 1, 2, 3, 4, 5, kNeutral, kNeutral};
    ControllerSlot slot;
    testing::PlugFakeController(slot).next = testing::StickAt(0, 10000);  // field 2: gear 1
    testing::RecordingKeyOutput keys;
    testing::NullView view;
    Follower taps(keys.sent), feel(keys.sent);
    const PassOutputs outputs{.keys = &keys, .taps = &taps, .feel = &feel};
    RunPollCycle(s, slot, outputs, view);
    EXPECT_EQ(feel.seen, (std::vector<std::pair<int, size_t>>{{kNeutral, 9}, {1, 18}}));
    EXPECT_EQ(taps.seen, feel.seen);
    EXPECT_EQ(keys.sent[9], "{q down}");

    keys.FailOnCall(1);
    EXPECT_EQ(RunPollCycle(s, slot, outputs, view), CycleEnd::Failed);
    EXPECT_EQ(taps.releases + feel.releases, 2);
}

}  // namespace
}  // namespace vantrel
