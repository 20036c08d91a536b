#pragma once
// The game controller layer of the main window: keeps the list of attached controllers live as
// they are plugged in and out, opens and configures the one the user picks (or the remembered one,
// by itself), runs the poll cycle for its change notifications, and lets every output go when the
// controller in use goes away.
//
// There is no polling loop here: after a selection the controller service's pump delivers the
// notifications from the event loop, so a further selection simply takes over the device and
// returns, however many selections a run sees.

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "controller/controller_window.h"
#include "controller/remembered_controller.h"
#include "engine/controller_slot.h"
#include "engine/poll_cycle.h"
#include "engine/shift_state.h"
#include "ports/controller_service.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel {

inline constexpr const char* kNoJoystickAttached = "No joystick attached.";
inline constexpr const char* kNoJoystickAdvice =
    "Connect a game controller, then start Vantrel again.";
inline constexpr const char* kCaptionQuerying = "Joystick Sample: Querying Properties";
inline constexpr const char* kCaptionDisconnected = "Joystick Sample: Disconnected";

// Every axis reports 0..10000; the stick ignores the first tenth of its travel from the centre
// and reads as the end from 95 % on.
inline constexpr AxisScaling kAxisScaling{
    .min = 0, .max = 10000, .deadZone = 1000, .saturation = 9500};

class ControllerLayer {
  public:
    ControllerLayer(ControllerWindow& window, ShiftState& state, KeyOutput& keys);
    ~ControllerLayer();
    ControllerLayer(const ControllerLayer&) = delete;
    ControllerLayer& operator=(const ControllerLayer&) = delete;

    // Lists the attached controllers of `service` (which must outlive this object) in the window,
    // registers the receiver of the reports that runs the poll cycle, follows controllers plugged
    // in and out, and selects the remembered controller when it is attached. With no controller
    // attached the user is told and the result is false: the program must end; but with
    // `waitForController` or a remembered controller the empty list waits for one.
    bool Start(ControllerService& service, bool waitForController = false);

    // The controller at this list position (from 0) is selected: the one in use is let go, the
    // chosen one is opened, configured and read once. A controller unplugged a moment ago leaves
    // nothing open and no harm done. Ignored while a cycle runs: the controller must not change
    // under it.
    void SelectController(int position);
    // The user's own choice (a click or Enter): selects as above and makes the line's controller
    // the remembered one, which is returned for keeping; nothing for a position with no line.
    std::optional<RememberedController> ChooseController(int position);

    // Brings the list up to the controllers attached now: lines of controllers gone leave (the
    // one in use is lost first), new ones are added at the end, and the remembered controller is
    // selected when nothing is in use. The service calls it on every change.
    void RefreshControllers();
    // Lets go of every output the controller in use drives. The one place for that on a loss.
    void LetGoOfOutputs();

    // One poll cycle, unless polling has stopped or a cycle is already running (its error message
    // waits for the user inside the cycle): then nothing happens and the result is empty.
    std::optional<CycleEnd> OnControllerReport();

    // Shutdown pieces: no further reports or plug news; the controller closed.
    void StopReports();
    void CloseController();

    // The virtual shifter the poll cycle also drives (nullptr: none); it must outlive this object
    // or be unset first.
    void SetShifter(ShifterOutput* shifter) { outputs_.shifter = shifter; }
    // The sequential taps and the rumble, likewise (nullptr: none).
    void SetGearFollowers(GearFollower* taps, GearFollower* feel) {
        outputs_.taps = taps;
        outputs_.feel = feel;
    }

    bool cycleRunning() const { return inCycle_; }
    ControllerSlot& slot() { return slot_; }
    int32_t receiverId() const { return receiverId_; }

    // While the poll cycle may run; the start-up sets it, the shutdown clears it.
    bool polling = false;
    // Picked by itself whenever nothing is in use and a matching controller is attached.
    std::optional<RememberedController> remembered;

    // After each completed cycle, with the report it read.
    std::function<void(const ControllerReport&)> onCycleCompleted;
    // After a cycle that had nothing to read: no controller open, or it was lost.
    std::function<void()> onNoReading;
    // After a failed cycle has shown its error: the program must end now.
    std::function<void()> onCycleFailed;

  private:
    // The controller in use went away: outputs let go, controller closed, the window told.
    void ControllerLost();
    void PickRemembered();

    ControllerWindow& window_;
    ShiftState& state_;
    PassOutputs outputs_;

    ControllerService* service_ = nullptr;
    std::vector<AttachedController> listed_;  // the window's lines, in order
    int32_t receiverId_ = 0;
    ControllerSlot slot_;
    std::string inUse_;  // attachment of the open controller's line; "" while none is open
    bool inCycle_ = false;
    bool refreshPending_ = false;  // a change seen during a cycle, handled right after it
};

}  // namespace vantrel
