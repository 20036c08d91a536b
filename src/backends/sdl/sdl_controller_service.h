#pragma once
// The controller service on SDL2's raw joystick API. Change notifications are delivered by
// PumpOnce, which a ControllerPump runs on the Qt event loop (or a test calls directly). All calls
// belong on one thread. Devices it creates may outlive it.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "backends/sdl/pump_report.h"
#include "ports/controller_service.h"

namespace vantrel {

class SdlSession;

class SdlControllerService : public ControllerService {
  public:
    // Throws ServiceError (kErrorControllerServiceFailed) with a description for the user when
    // SDL's joystick subsystem cannot be started.
    SdlControllerService();
    ~SdlControllerService() override;

    // Display name, identity (SDL instance id as text), SDL GUID and device node of each attached
    // controller, in SDL's order. Controllers with the same name are separate entries.
    std::vector<AttachedController> Attached() override;
    std::unique_ptr<Controller> Open(const std::string& attachmentId) override;
    int32_t AddReportReceiver(ReportReceiver receiver) override;
    void RemoveReportReceiver(int32_t receiverId) override;
    // Runs from PumpOnce and CheckDevices.
    void SetControllersChangedListener(std::function<void()> listener) override;

    // One pump: refreshes SDL's joystick state, tells the devices-changed listener about
    // controllers plugged in or out, and notifies the events whose devices changed.
    PumpReport PumpOnce();
    // Only the look for controllers plugged in or out; for when nothing is worth pumping.
    void CheckDevices();
    // Called whenever the set of devices worth pumping (tied to a receiver) may have changed.
    void SetWatchListener(std::function<void()> listener);
    // Device nodes of those devices; "" for a device without one.
    std::vector<std::string> WatchedNodePaths() const;

  private:
    std::shared_ptr<SdlSession> session_;
};

}  // namespace vantrel
