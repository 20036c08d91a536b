#pragma once
// One open game controller, as Vantrel uses it: what it has, how its axes are scaled, and its
// reports. A backend opens it through the ControllerService.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace vantrel {

// The axis slots of a report, in the order the main window lists them.
enum class AxisSlot { X, Y, Z, RotationX, RotationY, RotationZ, Slider0, Slider1 };
inline constexpr int kAxisSlots = 8;
inline constexpr int kButtonSlots = 32;

// What a controller reports: its axes scaled as configured (a slot it does not have reads 0) and
// the first 32 of its buttons.
struct ControllerReport {
    std::array<int32_t, kAxisSlots> axes{};
    std::array<bool, kButtonSlots> buttons{};

    int32_t axis(AxisSlot slot) const { return axes[static_cast<std::size_t>(slot)]; }
    int32_t& axis(AxisSlot slot) { return axes[static_cast<std::size_t>(slot)]; }
};

// The kinds of axis a controller may have; a controller with several sliders lists each.
enum class AxisKind { X, Y, Z, RotationX, RotationY, RotationZ, Slider };

struct ControllerTraits {
    int buttons = 0;
    std::vector<AxisKind> axes;  // in the controller's own order
};

// How raw axis values become report values: every axis reports `min`..`max`; on the stick's X and
// Y axes a deflection up to `deadZone` reads as the centre and one from `saturation` on as the
// end, both in ten-thousandths of the travel from the centre.
struct AxisScaling {
    int32_t min = 0;
    int32_t max = 10000;
    int32_t deadZone = 0;
    int32_t saturation = 10000;
};

enum class ReadResult {
    Ok,      // the report holds what the controller reports now
    Lost,    // the controller went away (or cannot be read right now): the report is unchanged
    Failed,  // this read failed for another reason: the report is unchanged
};

class Controller {
  public:
    virtual ~Controller() = default;

    virtual ControllerTraits Describe() = 0;
    // Before SendReportsTo: a change of scaling while tied may be reported as a change.
    virtual void Configure(const AxisScaling& scaling) = 0;
    // Ties the controller's changes to a receiver of ControllerService::AddReportReceiver; 0
    // unties it.
    virtual void SendReportsTo(int32_t receiverId) = 0;
    virtual ReadResult Read(ControllerReport& report) = 0;
    // Runs the rumble motors at `strength` (1..65535; 0 stops them) for at most `milliseconds`.
    // False when the controller has none or refuses; never throws. Callers stop a pulse
    // themselves: a backend may only end one when its controller is read again.
    virtual bool Rumble(uint16_t strength, uint32_t milliseconds) {
        (void)strength;
        (void)milliseconds;
        return false;
    }
};

}  // namespace vantrel
