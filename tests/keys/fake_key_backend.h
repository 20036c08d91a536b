#pragma once
// A key backend that records what reaches it ("down q", "up q") and can be told to fail.

#include <atomic>
#include <memory>
#include <string>
#include <vector>

#include "services/keys/key_backend.h"
#include "services/service_error.h"

namespace vantrel::testing {

struct FakeKeyLog {
    std::vector<std::string> events;
    bool failPresses = false;
    bool failReleases = false;
    int destroyed = 0;
    std::atomic<int> calls{0};  // for tests that watch from another thread
};

class FakeKeyBackend final : public KeyBackend {
  public:
    explicit FakeKeyBackend(std::shared_ptr<FakeKeyLog> log) : log_(std::move(log)) {}
    ~FakeKeyBackend() override { ++log_->destroyed; }

    std::string_view Name() const override { return "fake"; }
    void Press(const KeyName& key) override {
        if (log_->failPresses) throw ServiceError(kErrorKeySendFailed, "the fake device is gone");
        log_->events.push_back("down " + std::string(key.name));
        ++log_->calls;
    }
    void Release(const KeyName& key) override {
        if (log_->failReleases) throw ServiceError(kErrorKeySendFailed, "the fake device is gone");
        log_->events.push_back("up " + std::string(key.name));
        ++log_->calls;
    }

  private:
    std::shared_ptr<FakeKeyLog> log_;
};

}  // namespace vantrel::testing
