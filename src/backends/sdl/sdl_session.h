#pragma once
// SDL's joystick subsystem for as long as the service or any controller it opened lives: the open
// controllers, the report receivers and the pump that turns changes into calls of a receiver.
// Everything here runs on one thread, the one that runs the pump.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "backends/sdl/pump_report.h"
#include "ports/controller_service.h"

namespace vantrel {

class SdlController;

class SdlSession {
  public:
    // Sets the hints and starts SDL's joystick subsystem; throws ServiceError when it cannot.
    SdlSession();
    ~SdlSession();
    SdlSession(const SdlSession&) = delete;
    SdlSession& operator=(const SdlSession&) = delete;

    int32_t AddReceiver(ControllerService::ReportReceiver receiver);
    void RemoveReceiver(int32_t id);
    bool HasReceiver(int32_t id) const { return receivers_.count(id) != 0; }

    void Register(SdlController* device);
    void Unregister(SdlController* device);
    // A controller was opened, closed, tied to a receiver or untied: the set worth pumping changed.
    void WatchChanged();
    void SetWatchListener(std::function<void()> listener) { watchListener_ = std::move(listener); }
    // Device nodes of the devices worth pumping ("" for one without a node).
    std::vector<std::string> WatchedNodePaths() const;

    void SetControllersChangedListener(std::function<void()> listener) {
        devicesListener_ = std::move(listener);
    }
    // Compares the attached controllers (as SDL last saw them) with those seen before; when they
    // differ, remembers them and, if `notify`, runs the devices-changed listener. Cheap enough
    // for every pump: no allocation while nothing changed.
    void CheckDevices(bool notify);

    // Updates SDL's joystick state once, runs the devices-changed listener when controllers were
    // plugged in or out (before any receiver, so that a device gone is let go of first), and runs
    // each event's receiver once when one of its devices changed. A receiver that is still running
    // is not called again, and none is called while notifications are held; the notification is
    // kept and delivered by a later pump.
    PumpReport Pump();

  private:
    struct Receiver {
        ControllerService::ReportReceiver receiver;
        bool running = false;
        bool pending = false;
    };
    void Notify(int32_t handle);

    std::map<int32_t, std::shared_ptr<Receiver>> receivers_;
    int32_t nextId_ = 1;
    std::vector<SdlController*> devices_;
    std::function<void()> watchListener_;
    std::function<void()> devicesListener_;
    std::vector<int32_t> knownDevices_;  // instance ids, in SDL's order
    bool checkingDevices_ = false;
};

}  // namespace vantrel
