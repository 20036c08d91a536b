#pragma once
// The drawing bench's stick: moved against the edge of gear 3's field from a thread of its own,
// 500 times a second, each move one write into the FIFO that stands in for the device node.
// Remembers when each move was made until a poll cycle has read it.

#include <pthread.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "backends/sdl/axis_scaling.h"
#include "bench/bench_report.h"
#include "tests/doubles/virtual_pad.h"

namespace vantrel::bench {

// Raw SDL values whose scaled x lies just inside gear 3's right edge (g34r = 4000): 3900 to
// 3999, each one different from the one before.
inline std::vector<int16_t> EdgeOfGear3(int count) {
    const AxisScale scale{0, 10000, 1000, 9500};  // as the controller selection configures it
    int lowest = 0, highest = 0;
    for (int raw = -32768; raw <= 32767; ++raw) {
        const int32_t x = ScaleAxis(static_cast<int16_t>(raw), scale);
        if (x >= 3900 && x <= 3999) {
            if (lowest == 0) lowest = raw;
            highest = raw;
        }
    }
    std::vector<int16_t> values;
    for (int i = 0; i < count; ++i) {
        values.push_back(static_cast<int16_t>(lowest + (highest - lowest) * i / (count - 1)));
    }
    return values;
}

class MovingStick {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr auto kReportInterval = std::chrono::milliseconds(2);  // 500 reports a second
    static constexpr int kEdgeValues = 10;

    MovingStick(testing::VirtualPad& pad, int node) : pad_(pad), node_(node) {}

    void Start() {
        thread_ = std::thread([this] { Run(); });
        pthread_getcpuclockid(thread_.native_handle(), &cpuClock_);
    }
    void Stop() {
        running_ = false;
        thread_.join();
    }
    // CPU time of the moving thread, to be left out of Vantrel's.
    double Cpu() const { return CpuSecondsOf(cpuClock_); }
    uint64_t moves() const { return moves_; }

    // After a poll cycle that read `x` and sent its first key at `firstSend`: the moves up to the
    // one it read are answered, and their latencies go to `latencies` when given.
    void Answered(int32_t x, Clock::time_point firstSend, std::vector<double>* latencies) {
        std::lock_guard<std::mutex> lock(mutex_);
        // The newest outstanding move with this value is the one read (values repeat only
        // every ten moves, far more than are ever outstanding).
        auto it = std::find_if(pending_.rbegin(), pending_.rend(),
                               [&](const Move& m) { return m.x == x; });
        if (it == pending_.rend()) return;
        const auto end = it.base();
        for (auto m = pending_.begin(); m != end && latencies; ++m) {
            latencies->push_back(
                std::chrono::duration<double, std::milli>(firstSend - m->at).count());
        }
        pending_.erase(pending_.begin(), end);
    }

  private:
    struct Move {
        int32_t x;
        Clock::time_point at;
    };

    void Run() {
        const std::vector<int16_t> values = EdgeOfGear3(kEdgeValues);
        const AxisScale scale{0, 10000, 1000, 9500};
        pad_.SetAxis(1, -32768);  // top row
        auto next = Clock::now();
        for (uint64_t i = 0; running_; ++i) {
            next += kReportInterval;
            std::this_thread::sleep_until(next);
            const int16_t raw = values[i % values.size()];
            {
                std::lock_guard<std::mutex> lock(mutex_);
                if (pending_.size() > 1000) pending_.clear();  // nobody reads: do not grow
                pending_.push_back({ScaleAxis(raw, scale), Clock::now()});
                pad_.SetAxis(0, raw);
            }
            const char wake = 1;
            if (::write(node_, &wake, 1) != 1) {
                // A full pipe: the pump is behind and will read this move anyway.
            }
            ++moves_;
        }
    }

    testing::VirtualPad& pad_;
    int node_;
    std::thread thread_;
    clockid_t cpuClock_{};
    std::atomic<bool> running_{true};
    std::atomic<uint64_t> moves_{0};
    std::mutex mutex_;
    std::deque<Move> pending_;
};

}  // namespace vantrel::bench
