#pragma once
// An alarm that rings only when rung by hand, so a test or benchmark decides when "later" is.

#include <chrono>
#include <functional>
#include <utility>

#include "ports/alarm.h"

namespace vantrel::testing {

class HandAlarm final : public Alarm {
  public:
    void Set(std::chrono::milliseconds delay, std::function<void()> ring) override {
        delay_ = delay;
        ring_ = std::move(ring);
    }
    void Cancel() override { ring_ = nullptr; }

    // Runs the pending call, which may set the alarm again; false when none was pending.
    bool Ring() {
        if (!ring_) return false;
        std::function<void()> ring = std::exchange(ring_, nullptr);
        ring();
        return true;
    }
    std::chrono::milliseconds delay() const { return delay_; }

  private:
    std::function<void()> ring_;
    std::chrono::milliseconds delay_{0};
};

}  // namespace vantrel::testing
