#pragma once
// A controller service whose attached controllers the test lists, whose devices log their life to
// one shared log, and whose notification the test fires by hand.

#include <cstdint>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "services/controller_service.h"
#include "support/fakes.h"

namespace vantrel::testing {

class FakeControllerService;

class TrackedDevice : public FakeDevice {
  public:
    TrackedDevice(FakeControllerService& service, std::string name);
    ~TrackedDevice() override;
    int32_t Unacquire() override;
    int32_t SetRangeProperty(const DIPROPRANGE& prop) override {
        lastRange = prop;
        return FakeDevice::SetRangeProperty(prop);
    }
    int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override;

    DIPROPRANGE lastRange;
    uintptr_t lastReadFrame = 0;  // where the stack stood during the last read

  private:
    FakeControllerService& service_;
    std::string name_;
};

struct DeviceSetup {
    std::vector<std::string> axisTypes{"GUID_XAxis", "GUID_YAxis"};
    int32_t buttons = 12;
    DIJOYSTATE next;
};

class FakeControllerService : public ControllerService {
  public:
    std::vector<DeviceInstance> GetDIDevices() override { return attached; }

    std::unique_ptr<ControllerDevice> CreateDevice(const std::string& guidInstance) override {
        if (gone.count(guidInstance) != 0) return nullptr;
        auto device = std::make_unique<TrackedDevice>(*this, guidInstance);
        if (auto it = setups.find(guidInstance); it != setups.end()) {
            device->axisTypes = it->second.axisTypes;
            device->buttons = it->second.buttons;
            device->next = it->second.next;
        }
        newest = device.get();
        return device;
    }

    int32_t CreateEvent(Receiver r) override {
        ++eventsCreated;
        receiver = std::move(r);
        return kHandle;
    }
    void DestroyEvent(int32_t handle) override {
        if (handle == kHandle) receiver = nullptr;
        ++eventsDestroyed;
    }

    // Delivers one state-change notification, as the pump would.
    void Notify() {
        if (receiver) receiver(kHandle);
    }

    static constexpr int32_t kHandle = 77;
    std::vector<DeviceInstance> attached;
    std::set<std::string> gone;                 // identities unplugged since start-up
    std::map<std::string, DeviceSetup> setups;  // what a device reports, by identity
    Receiver receiver;
    int eventsCreated = 0;
    int eventsDestroyed = 0;
    int liveDevices = 0;
    TrackedDevice* newest = nullptr;  // the last device opened (dangling once it is released)
    std::vector<std::string>* log = nullptr;
};

inline TrackedDevice::TrackedDevice(FakeControllerService& service, std::string name)
    : service_(service), name_(std::move(name)) {
    ++service_.liveDevices;
    if (service_.log) service_.log->push_back(name_ + " opened");
}

inline TrackedDevice::~TrackedDevice() {
    --service_.liveDevices;
    if (service_.newest == this) service_.newest = nullptr;
    if (service_.log) service_.log->push_back(name_ + " released");
}

inline int32_t TrackedDevice::Unacquire() {
    if (service_.log) service_.log->push_back(name_ + " Unacquire");
    return FakeDevice::Unacquire();
}

inline int32_t TrackedDevice::GetDeviceStateJoystick(DIJOYSTATE& state) {
    lastReadFrame = reinterpret_cast<uintptr_t>(__builtin_frame_address(0));
    if (service_.log) service_.log->push_back(name_ + " read");
    return FakeDevice::GetDeviceStateJoystick(state);
}

}  // namespace vantrel::testing
