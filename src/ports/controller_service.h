#pragma once
// The attached game controllers, opening one, and the news of its reports and of controllers
// plugged in and out.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "ports/controller.h"

namespace vantrel {

struct AttachedController {
    std::string name;          // display name; two controllers may share it
    std::string attachmentId;  // this attachment; a controller plugged in again gets a new one
    std::string modelGuid{};   // the model's identity, the same every time it is plugged in
    std::string nodePath{};    // device node, "" when it has none; tells identical pads apart
};

class ControllerService {
  public:
    using ReportReceiver = std::function<void()>;

    virtual ~ControllerService() = default;

    // Attached game controllers, in the service's order.
    virtual std::vector<AttachedController> Attached() = 0;
    // Opens the controller of this attachment; nullptr when it is gone or cannot be opened.
    virtual std::unique_ptr<Controller> Open(const std::string& attachmentId) = 0;
    // Registers the receiver of the changes of controllers tied to the returned id (nonzero).
    // Changes arrive on the thread that runs the service's pump, one at a time, never while the
    // receiver is still running.
    virtual int32_t AddReportReceiver(ReportReceiver receiver) = 0;
    virtual void RemoveReportReceiver(int32_t receiverId) = 0;
    // `listener` runs, on the pump's thread, whenever controllers may have been plugged in or
    // out since the last Attached(); an empty one stops it. A service whose controllers never
    // change need not call it.
    virtual void SetControllersChangedListener(std::function<void()> listener) { (void)listener; }
};

}  // namespace vantrel
