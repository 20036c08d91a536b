#pragma once
// Services for start-up tests: the frmMain owns (and destroys) what the factory hands out, so the
// handed-out objects forward to fakes the test keeps, and the factory logs the order of creation.

#include <QObject>
#include <memory>
#include <string>
#include <vector>

#include "controller/fake_controller_service.h"
#include "services/service_error.h"
#include "shell/service_factory.h"
#include "support/fakes.h"

namespace vantrel::testing {

class ForwardingKeys : public KeySender {
  public:
    ForwardingKeys(RecordingKeySender& target, std::vector<std::string>& log)
        : target_(target), log_(log) {}
    ~ForwardingKeys() override { log_.push_back("keys destroyed"); }
    void Send(std::string_view text, int32_t mode) override { target_.Send(text, mode); }
    void ReleaseAll() noexcept override { target_.ReleaseAll(); }

  private:
    RecordingKeySender& target_;
    std::vector<std::string>& log_;
};

class ForwardingControllers : public ControllerService {
  public:
    ForwardingControllers(FakeControllerService& target, std::vector<std::string>& log)
        : target_(target), log_(log) {}
    ~ForwardingControllers() override { log_.push_back("controllers destroyed"); }
    std::vector<DeviceInstance> GetDIDevices() override { return target_.GetDIDevices(); }
    std::unique_ptr<ControllerDevice> CreateDevice(const std::string& id) override {
        return target_.CreateDevice(id);
    }
    int32_t CreateEvent(Receiver r) override { return target_.CreateEvent(std::move(r)); }
    void DestroyEvent(int32_t handle) override { target_.DestroyEvent(handle); }

  private:
    FakeControllerService& target_;
    std::vector<std::string>& log_;
};

class FakeServices : public ServiceFactory {
  public:
    std::unique_ptr<KeySender> CreateKeyService(std::string& failure) override {
        log.push_back("keys");
        if (!keyFailure.empty()) {
            failure = keyFailure;
            return nullptr;
        }
        return std::make_unique<ForwardingKeys>(keys, log);
    }
    std::unique_ptr<ControllerService> CreateControllerService() override {
        log.push_back("controllers");
        if (controllerFailure) throw *controllerFailure;
        return std::make_unique<ForwardingControllers>(controllers, log);
    }
    std::unique_ptr<QObject> StartNotifications(ControllerService&) override {
        log.push_back("notifications");
        auto pump = std::make_unique<QObject>();
        QObject::connect(pump.get(), &QObject::destroyed,
                         [this] { log.push_back("pump stopped"); });
        return pump;
    }

    RecordingKeySender keys;
    FakeControllerService controllers;
    std::string keyFailure;
    std::unique_ptr<ServiceError> controllerFailure;
    std::vector<std::string> log;
};

}  // namespace vantrel::testing
