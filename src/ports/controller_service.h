#pragma once
// The attached game controllers and the change notifications of the open one.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ports/controller.h"

namespace vantrel {

struct DeviceInstance {
    std::string instanceName;  // display name; two controllers may share it
    std::string guidInstance;  // identity of this attachment; a controller plugged in again gets
                               // a new one
    std::string guid{};        // the model's identity, the same every time it is plugged in
    std::string path{};        // device node, "" when it has none; tells identical pads apart
};

class ControllerService {
  public:
    using Receiver = std::function<void(int32_t eventid)>;

    virtual ~ControllerService() = default;

    // Attached game controllers, in the service's enumeration order.
    virtual std::vector<DeviceInstance> GetDIDevices() = 0;
    // Opens the controller with this identity; nullptr when it is gone or cannot be opened.
    virtual std::unique_ptr<ControllerDevice> CreateDevice(const std::string& guidInstance) = 0;
    // Registers the receiver of state-change notifications of devices bound to the returned
    // handle (nonzero). Notifications arrive on the thread that runs the service's pump, one at a
    // time, never while the receiver is still running.
    virtual int32_t CreateEvent(Receiver receiver) = 0;
    virtual void DestroyEvent(int32_t eventHandle) = 0;
    // `listener` runs, on the pump's thread, whenever controllers may have been plugged in or
    // out since the last GetDIDevices; an empty one stops it. A service whose controllers never
    // change need not call it.
    virtual void SetDevicesChangedListener(std::function<void()> listener) { (void)listener; }
};

}  // namespace vantrel
