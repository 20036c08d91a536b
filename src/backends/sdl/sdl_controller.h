#pragma once
// One open SDL joystick as a Vantrel controller. It is read, and reports its changes to the
// receiver it is tied to, from the moment it is opened until it is closed.

#include <SDL.h>

#include <array>
#include <memory>
#include <string>

#include "backends/sdl/axis_scaling.h"
#include "ports/controller.h"

namespace vantrel {

class SdlSession;

class SdlController : public Controller {
  public:
    // Takes over one reference of `joystick`.
    SdlController(std::shared_ptr<SdlSession> session, SDL_Joystick* joystick);
    ~SdlController() override;
    SdlController(const SdlController&) = delete;
    SdlController& operator=(const SdlController&) = delete;

    // Axes past the eighth have no slot in a report and are not described.
    ControllerTraits Describe() override;
    void Configure(const AxisScaling& scaling) override;
    void SendReportsTo(int32_t receiverId) override;
    ReadResult Read(ControllerReport& report) override;
    // Both motors at the same strength.
    bool Rumble(uint16_t strength, uint32_t milliseconds) override;

    // For the session's pump.
    bool Watched() const { return receiverId_ != 0 && !lossReported_; }
    int32_t ReceiverId() const { return receiverId_; }
    const std::string& NodePath() const { return nodePath_; }
    // True once per change of what a read would report (or of a hat), and once when the
    // controller is detached.
    bool TakeChange();

  private:
    // What a change is looked for in: the report, and the hats a report leaves out.
    struct Seen {
        ControllerReport report;
        std::array<Uint8, 4> hats{};
        bool operator==(const Seen& other) const {
            return report.axes == other.report.axes && report.buttons == other.report.buttons &&
                   hats == other.hats;
        }
    };
    int AxisCount() const;
    ControllerReport Snapshot() const;
    Seen SeenNow() const;

    std::shared_ptr<SdlSession> session_;
    SDL_Joystick* joystick_;
    std::string nodePath_;
    std::array<AxisScale, kAxisSlots> scales_{};
    bool hasRumble_ = false;  // asked once: a refusal costs SDL an error text each time
    int32_t receiverId_ = 0;
    bool lossReported_ = false;
    Seen seen_{};
};

}  // namespace vantrel
