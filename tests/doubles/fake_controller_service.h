#pragma once
// A controller service whose attached controllers the test lists (and plugs in and out), whose
// devices log their life to one shared log, and whose notification the test fires by hand.

#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

#include "doubles/fakes.h"
#include "ports/controller_service.h"

namespace vantrel::testing {

class FakeControllerService : public ControllerService {
  public:
    // Logs "<identity> opened", "... Unacquire", "... read" and "... released".
    class Device : public FakeDevice {
      public:
        Device(FakeControllerService& service, std::string id) : s_(service), id_(std::move(id)) {
            ++s_.liveDevices;
            Log("opened");
        }
        ~Device() override {
            --s_.liveDevices;
            if (s_.newest == this) s_.newest = nullptr;
            Log("released");
        }
        int32_t Unacquire() override {
            Log("Unacquire");
            return FakeDevice::Unacquire();
        }
        int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override {
            Log("read");
            return FakeDevice::GetDeviceStateJoystick(state);
        }

      private:
        void Log(const char* what) {
            if (s_.log) s_.log->push_back(id_ + " " + what);
        }
        FakeControllerService& s_;
        std::string id_;
    };

    std::vector<DeviceInstance> GetDIDevices() override { return attached; }
    std::unique_ptr<ControllerDevice> CreateDevice(const std::string& id) override {
        if (gone.count(id) != 0) return nullptr;
        auto device = std::make_unique<Device>(*this, id);
        device->next = readings[id];
        device->axisTypes = axisTypes;
        newest = device.get();
        return device;
    }
    int32_t CreateEvent(Receiver r) override {
        receiver = std::move(r);
        return kHandle;
    }
    void DestroyEvent(int32_t) override { receiver = nullptr; }
    void SetDevicesChangedListener(std::function<void()> listener) override {
        devicesChanged = std::move(listener);
    }
    // Delivers one state-change notification, as the pump would.
    void Notify() {
        if (receiver) receiver(kHandle);
    }
    // A controller plugged in (at the end of the list) or out, as the pump would report it.
    void Plug(const DeviceInstance& instance) {
        attached.push_back(instance);
        if (devicesChanged) devicesChanged();
    }
    void Unplug(const std::string& id) {
        std::erase_if(attached, [&](const DeviceInstance& d) { return d.guidInstance == id; });
        gone.insert(id);
        if (devicesChanged) devicesChanged();
    }

    static constexpr int32_t kHandle = 77;
    std::vector<DeviceInstance> attached;
    std::set<std::string> gone;                  // identities unplugged since start-up
    std::map<std::string, DIJOYSTATE> readings;  // what a newly opened device reads, by identity
    std::vector<std::string> axisTypes{"GUID_XAxis", "GUID_YAxis"};  // of every device
    Receiver receiver;
    std::function<void()> devicesChanged;
    int liveDevices = 0;
    Device* newest = nullptr;  // the last device opened, until it is released
    std::vector<std::string>* log = nullptr;
};

}  // namespace vantrel::testing
