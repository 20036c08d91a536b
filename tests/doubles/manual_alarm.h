#pragma once
// An alarm the test rings by hand: it keeps the pending call and its delay.

#include <optional>

#include "ports/alarm.h"

namespace vantrel::testing {

class ManualAlarm : public Alarm {
  public:
    void Set(std::chrono::milliseconds d, std::function<void()> ring) override {
        delay = d;
        pending = std::move(ring);
    }
    void Cancel() override { pending = nullptr; }

    // Rings the pending call, if any; false when nothing was pending.
    bool Ring() {
        if (!pending) return false;
        const std::function<void()> ring = std::move(pending);
        pending = nullptr;
        ring();
        return true;
    }
    // Rings until nothing is pending; the number of rings.
    int RingAll() {
        int rings = 0;
        while (Ring()) ++rings;
        return rings;
    }

    std::chrono::milliseconds delay{};
    std::function<void()> pending;
};

}  // namespace vantrel::testing
