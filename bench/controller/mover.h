#pragma once
// Moves the virtual stick from a second thread, like a device that changes on its own time, and
// waits for each change's poll cycle before making the next.

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <mutex>

#include "tests/doubles/virtual_pad.h"

namespace vantrel::bench {

class Mover {
  public:
    using Clock = std::chrono::steady_clock;

    explicit Mover(testing::VirtualPad& pad) : pad_(pad) {}

    // Called by the receiver after a cycle: the latency of the outstanding change, if this
    // cycle answered it.
    bool Answer(Clock::time_point firstSend, double& latencyMs) {
        const int64_t changedAt = pending_.load();
        if (changedAt == 0 || Nanos(firstSend) < changedAt) return false;
        latencyMs = static_cast<double>(Nanos(firstSend) - changedAt) / 1e6;
        {
            std::lock_guard<std::mutex> lock(mutex_);
            pending_.store(0);
        }
        answered_.notify_one();
        return true;
    }

    void Step() {
        // Each step moves one axis to a new field, so each is exactly one change.
        static constexpr int xs[4] = {-30000, -15073, 8000, 30000};
        static constexpr int ys[2] = {-32768, 32767};
        const int axis = step_ % 2;
        const int value = axis == 0 ? xs[(step_ / 2) % 4] : ys[(step_ / 2) % 2];
        ++step_;
        std::unique_lock<std::mutex> lock(mutex_);
        pending_.store(Nanos(Clock::now()));
        pad_.SetAxis(axis, value);
        if (!answered_.wait_for(lock, std::chrono::milliseconds(500),
                                [&] { return pending_.load() == 0; })) {
            pending_.store(0);
            ++unanswered_;
        }
    }
    int unanswered() const { return unanswered_; }

  private:
    static int64_t Nanos(Clock::time_point t) {
        return std::chrono::duration_cast<std::chrono::nanoseconds>(t.time_since_epoch()).count();
    }

    testing::VirtualPad& pad_;
    std::atomic<int64_t> pending_{0};
    std::mutex mutex_;
    std::condition_variable answered_;
    int step_ = 0;
    int unanswered_ = 0;
};

}  // namespace vantrel::bench
