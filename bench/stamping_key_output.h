#pragma once
// The key output at the end of the bench's poll cycles: the real key service on a backend that
// only counts, so the figures include the service's bookkeeping and show how many events would
// reach the operating system. The first Send of each cycle is stamped.

#include <chrono>
#include <cstdint>
#include <memory>
#include <string_view>

#include "output/key_service.h"
#include "tests/doubles/key_outputs.h"

namespace vantrel::bench {

class StampingKeyOutput : public KeyOutput {
  public:
    using Clock = std::chrono::steady_clock;

    StampingKeyOutput() {
        auto backend = std::make_unique<testing::CountingKeyboard>();
        backend_ = backend.get();
        service_ = std::make_unique<KeyService>(std::move(backend));
    }

    void Send(const AssignedKey& key, KeyAction action) override {
        if (!stamped_) {
            firstSend_ = Clock::now();
            stamped_ = true;
        }
        ++sends_;
        service_->Send(key, action);
    }
    void ReleaseAll() noexcept override { service_->ReleaseAll(); }

    // Starts a new cycle: the next Send is stamped.
    void NewCycle() { stamped_ = false; }
    bool stamped() const { return stamped_; }
    Clock::time_point firstSend() const { return firstSend_; }
    uint64_t sends() const { return sends_; }
    uint64_t backendEvents() const { return backend_->events; }

  private:
    testing::CountingKeyboard* backend_;
    std::unique_ptr<KeyService> service_;
    bool stamped_ = false;
    Clock::time_point firstSend_{};
    uint64_t sends_ = 0;
};

}  // namespace vantrel::bench
