#include "backends/sdl/pump_pace.h"

namespace vantrel {

PumpPace PacePolicy::Next(Clock::time_point now, bool changed, bool watching, bool nodesCoverAll) {
    if (changed) lastChange_ = now;
    if (!watching) return PumpPace::Dormant;
    if (nodesCoverAll) return PumpPace::NodeDriven;
    return now - lastChange_ < timing_.fastHold ? PumpPace::Fast : PumpPace::Slow;
}

std::chrono::microseconds PacePolicy::Interval(PumpPace pace) const {
    switch (pace) {
        case PumpPace::Fast:
            return timing_.fast;
        case PumpPace::Slow:
            return timing_.slow;
        case PumpPace::NodeDriven:
            return timing_.nodeDriven;
        default:
            return std::chrono::microseconds{0};
    }
}

}  // namespace vantrel
