#pragma once
// The real services but for two: keys go to a counting backend, and the controller's node is the
// FIFO that the moving stick writes; each wake of the node runs one pump, as a real evdev node
// wakes Vantrel.

#include <QObject>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "backends/sdl/node_watch.h"
#include "backends/sdl/sdl_controller_service.h"
#include "bench/stamping_key_output.h"
#include "windows/main_window/service_factory.h"

namespace vantrel::bench {

class NodeServices : public ServiceFactory {
  public:
    using Clock = std::chrono::steady_clock;

    explicit NodeServices(std::string node) : node_(std::move(node)) {}

    std::unique_ptr<KeyOutput> CreateKeyService(std::string&) override {
        auto keys = std::make_unique<StampingKeyOutput>();
        keys_ = keys.get();
        return keys;
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        auto service = std::make_unique<SdlControllerService>();
        sdl_ = service.get();
        return service;
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override {
        auto pump = std::make_unique<QObject>();
        new NodeWatch(
            node_,
            [this] {
                keys_->NewCycle();
                sdl_->PumpOnce();
                ++pumps;
                if (keys_->stamped() && afterCycle) afterCycle(keys_->firstSend());
            },
            pump.get());
        return pump;
    }

    std::function<void(Clock::time_point firstSend)> afterCycle;
    uint64_t pumps = 0;

  private:
    std::string node_;
    StampingKeyOutput* keys_ = nullptr;
    SdlControllerService* sdl_ = nullptr;
};

}  // namespace vantrel::bench
