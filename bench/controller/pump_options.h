#pragma once
// The pump timing of a run, from the command line, and the names of the pump's paces.

#include <QStringList>
#include <chrono>

#include "backends/sdl/controller_pump.h"

namespace vantrel::bench {

inline const char* PaceName(PumpPace pace) {
    switch (pace) {
        case PumpPace::Stopped:
            return "stopped";
        case PumpPace::Dormant:
            return "dormant";
        case PumpPace::Fast:
            return "fast";
        case PumpPace::Slow:
            return "slow";
        default:
            return "node-driven";
    }
}

// Options to try other pump timings: --fast-us N, --slow-us N, --hold-ms N.
inline PumpTiming TimingFromArguments(const QStringList& arguments) {
    PumpTiming timing;
    for (qsizetype i = 1; i + 1 < arguments.size(); i += 2) {
        const long long value = arguments[i + 1].toLongLong();
        if (arguments[i] == "--fast-us") timing.fast = std::chrono::microseconds(value);
        if (arguments[i] == "--slow-us") timing.slow = std::chrono::microseconds(value);
        if (arguments[i] == "--hold-ms") timing.fastHold = std::chrono::milliseconds(value);
    }
    return timing;
}

}  // namespace vantrel::bench
