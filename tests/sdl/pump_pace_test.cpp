// When the controller pump runs fast, slow, only on node wakes, or not at all.
#include "services/sdl/pump_pace.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

using namespace std::chrono_literals;

TEST(PumpPace, FastAfterAChangeSlowOnceStillForTheHoldTime) {
    PacePolicy policy;
    const auto hold = policy.timing().fastHold;
    const PacePolicy::Clock::time_point t0{10s};
    EXPECT_EQ(policy.Next(t0, true, true, false), PumpPace::Fast);
    EXPECT_EQ(policy.Next(t0 + hold - 1ms, false, true, false), PumpPace::Fast);
    EXPECT_EQ(policy.Next(t0 + hold, false, true, false), PumpPace::Slow);
    EXPECT_EQ(policy.Next(t0 + 5s, false, true, false), PumpPace::Slow);
    EXPECT_EQ(policy.Next(t0 + 6s, true, true, false), PumpPace::Fast);

    policy.Kick(t0 + 20s);
    EXPECT_EQ(policy.Next(t0 + 20s + 1ms, false, true, false), PumpPace::Fast);
}

TEST(PumpPace, NothingWatchedIsDormantAndNodesMakeTheTimerASafetyNet) {
    PacePolicy policy;
    const PacePolicy::Clock::time_point t0{10s};
    EXPECT_EQ(policy.Next(t0, true, false, false), PumpPace::Dormant);
    EXPECT_EQ(policy.Next(t0, true, true, true), PumpPace::NodeDriven);
    EXPECT_EQ(policy.Interval(PumpPace::Dormant).count(), 0);
    EXPECT_LT(policy.Interval(PumpPace::Fast), policy.Interval(PumpPace::Slow));
    EXPECT_LT(policy.Interval(PumpPace::Slow), policy.Interval(PumpPace::NodeDriven));
    // The first change after a still spell must show within 10 ms.
    EXPECT_LE(policy.Interval(PumpPace::Slow), 10ms);
}

}  // namespace
}  // namespace vantrel
