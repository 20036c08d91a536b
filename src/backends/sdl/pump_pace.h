#pragma once
// How often the controller pump runs: fast while the stick moves, slower once it has been still,
// not at all when no device is worth pumping. When every watched device has a node that wakes the
// pump on input, the timer is only a safety net.

#include <chrono>

namespace vantrel {

enum class PumpPace {
    Stopped,     // the pump is not started
    Dormant,     // no controller tied to a receiver: no timer
    Fast,        // a change within the last fastHold
    Slow,        // still for fastHold or longer
    NodeDriven,  // device nodes wake the pump; the timer only catches what they miss
};

// Why these values: a change lands at a random moment, so it waits half an interval on average.
// fast: 0.5 ms keeps that wait near 0.25 ms (a 1 ms pace would put the median right at 0.5 ms).
// slow: 8 ms lets the first change after a still spell through within 10 ms. Each wake of the
//   event loop costs tens of microseconds of CPU on its own, so the slow interval is what the pump
//   costs while the stick rests.
// fastHold: 250 ms bridges the short pauses within one shift; after that the pump slows down.
// nodeDriven: with device nodes every change wakes the pump at once; the timer only catches what
//   they miss.
struct PumpTiming {
    std::chrono::microseconds fast{500};
    std::chrono::microseconds slow{8000};
    std::chrono::microseconds nodeDriven{250000};
    std::chrono::milliseconds fastHold{250};
};

class PacePolicy {
  public:
    using Clock = std::chrono::steady_clock;

    explicit PacePolicy(const PumpTiming& timing = {}) : timing_(timing) {}

    // The pace after a pump that saw `changed`, with `watching` devices of which all have a live
    // node when `nodesCoverAll`.
    PumpPace Next(Clock::time_point now, bool changed, bool watching, bool nodesCoverAll);
    // Something new to watch: pace up as after a change.
    void Kick(Clock::time_point now) { lastChange_ = now; }

    std::chrono::microseconds Interval(PumpPace pace) const;
    const PumpTiming& timing() const { return timing_; }
    void setTiming(const PumpTiming& timing) { timing_ = timing; }

  private:
    PumpTiming timing_;
    Clock::time_point lastChange_{};
};

}  // namespace vantrel
