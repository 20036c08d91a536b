#pragma once
// The key sender at the end of the bench's poll cycles. It stamps the first key event of each
// cycle and, like the key service, remembers which keys it holds, so that it can count the events
// that would reach the operating system (only real changes of the held set).
// Stand-in until the key service with its held-key bookkeeping can be used here with a counting
// backend.

#include <chrono>
#include <cstdint>
#include <set>
#include <string>
#include <string_view>

#include "services/key_sender.h"

namespace vantrel::bench {

class StampingKeySender : public KeySender {
  public:
    using Clock = std::chrono::steady_clock;

    void Send(std::string_view text, int32_t /*mode*/) override {
        if (!stamped_) {
            firstSend_ = Clock::now();
            stamped_ = true;
        }
        ++sends_;
        // "{NAME down}" / "{NAME up}"
        if (text.size() < 5 || text.front() != '{' || text.back() != '}') return;
        const std::string_view body = text.substr(1, text.size() - 2);
        const size_t space = body.rfind(' ');
        if (space == std::string_view::npos) return;
        const std::string name(body.substr(0, space));
        const std::string_view action = body.substr(space + 1);
        if (name.empty()) return;
        if (action == "down" && held_.insert(name).second) ++backendEvents_;
        if (action == "up" && held_.erase(name) != 0) ++backendEvents_;
    }
    void ReleaseAll() noexcept override {
        backendEvents_ += held_.size();
        held_.clear();
    }

    // Starts a new cycle: the next Send is stamped.
    void NewCycle() { stamped_ = false; }
    bool stamped() const { return stamped_; }
    Clock::time_point firstSend() const { return firstSend_; }
    uint64_t sends() const { return sends_; }
    uint64_t backendEvents() const { return backendEvents_; }

  private:
    std::set<std::string> held_;
    bool stamped_ = false;
    Clock::time_point firstSend_{};
    uint64_t sends_ = 0;
    uint64_t backendEvents_ = 0;
};

}  // namespace vantrel::bench
