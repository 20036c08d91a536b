#pragma once
// Runs the controller service's pump on the Qt event loop, so that a change of an open controller
// tied to a receiver runs that receiver on the GUI thread. Adaptive, never spinning: fast
// while the stick moves, slow once it has been still for a moment, no pump timer at all while
// no controller is tied to a receiver; a device with a node wakes it at once. Controllers plugged
// in or out are looked for at every pump and, besides, by a slow hot-plug watch. The pump must not
// outlive the service.

#include <QObject>
#include <chrono>
#include <cstdint>
#include <memory>
#include <vector>

#include "backends/sdl/pump_pace.h"

namespace vantrel {

class HotplugWatch;
class NodeWatch;
class PumpTimer;
class SdlControllerService;

class ControllerPump : public QObject {
    Q_OBJECT

  public:
    explicit ControllerPump(SdlControllerService& service, QObject* parent = nullptr);
    ~ControllerPump() override;

    void start();
    void stop();
    bool isRunning() const { return running_; }

    PumpPace pace() const { return pace_; }
    // The timer interval of the current pace; 0 when no timer runs.
    std::chrono::microseconds interval() const;
    const PumpTiming& timing() const { return policy_.timing(); }
    void setTiming(const PumpTiming& timing);
    // Pumps run so far (timer and node wakes).
    uint64_t pumpCount() const { return pumps_; }

  private:
    void pump();
    void watchChanged();
    void refreshNodes();
    void dropNodes();
    void setPace(PumpPace pace);
    void lookForDevices();

    SdlControllerService& service_;
    PacePolicy policy_;
    PumpTimer* timer_;
    HotplugWatch* hotplug_ = nullptr;
    std::vector<NodeWatch*> nodes_;
    bool nodesCoverAll_ = false;
    bool running_ = false;
    PumpPace pace_ = PumpPace::Stopped;
    uint64_t pumps_ = 0;
};

}  // namespace vantrel
