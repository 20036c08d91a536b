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

inline constexpr int32_t kDeadZone = 1000;
inline constexpr int32_t kSaturation = 9500;
inline constexpr int32_t kRangeMin = 0;
inline constexpr int32_t kRangeMax = 10000;

class ControllerLayer {
  public:
    ControllerLayer(ControllerWindow& window, MainState& state, KeySender& autoIt);
    ~ControllerLayer();
    ControllerLayer(const ControllerLayer&) = delete;
    ControllerLayer& operator=(const ControllerLayer&) = delete;

    // Lists the attached controllers of `diRoot` (which must outlive this object) in the window,
    // creates the notification event whose receiver runs the poll cycle, follows controllers
    // plugged in and out, and selects the remembered controller when it is attached. With no
    // controller attached the user is told and the result is false: the program must end; but
    // with `waitForController` or a remembered controller the empty list waits for one.
    bool InitDirectInput(ControllerService& diRoot, bool waitForController = false);

    // The controller at this list position (from 0) is selected: the device in use is let go, the
    // chosen one is opened, configured, acquired and read once. Every step ignores its failure,
    // so a controller unplugged a moment ago leaves no device open and no harm done. Ignored while
    // a cycle runs: the device must not change under it.
    void lstJoySticks_Click(int position);
    // The user's own choice (a click or Enter): selects as above and makes the line's controller
    // the remembered one, which is returned for keeping; nothing for a position with no line.
    std::optional<RememberedController> ChooseController(int position);

    // Brings the list up to the controllers attached now: lines of controllers gone leave (the
    // one in use is lost first), new ones are added at the end, and the remembered controller is
    // selected when nothing is in use. The service calls it on every change.
    void RefreshControllers();
    // Lets go of every output the controller in use drives. The one place for that on a loss.
    void LetGoOfOutputs();

    // Every axis of the open device reports 0..10000.
    void SetPropRange();

    // One poll cycle, unless polling has stopped or a cycle is already running (its error message
    // waits for the user inside the cycle): then nothing happens and the result is empty.
    std::optional<CycleEnd> DirectXEvent8_DXCallback(int32_t eventid);

    // Shutdown pieces: no further notifications; the device unacquired and closed.
    void DestroyEvent();
    void ReleaseDevice();

    // The virtual shifter the poll cycle also drives (nullptr: none); it must outlive this object
    // or be unset first.
    void SetShifter(ShifterOutput* shifter) { shifter_ = shifter; }

    bool cycleRunning() const { return inCycle_; }
    DeviceSlot& device() { return device_; }
    int32_t notifyEvent() const { return notifyEvent_; }

    // True (-1) while the poll cycle may run; the start-up sets it, the shutdown clears it.
    int16_t pollActive = kFalse;
    // Picked by itself whenever nothing is in use and a matching controller is attached.
    std::optional<RememberedController> remembered;

    // After each completed cycle, with the state it read.
    std::function<void(const DIJOYSTATE&)> onCycleCompleted;
    // After a cycle that had nothing to read: no device open, or the device was lost.
    std::function<void()> onNoReading;
    // After a failed cycle has shown its error: the program must end now.
    std::function<void()> onCycleFailed;

  private:
    // The controller in use went away: outputs let go, device closed, the window told.
    void ControllerLost();
    void PickRemembered();

    ControllerWindow& window_;
    MainState& state_;
    KeySender& autoIt_;
    ShifterOutput* shifter_ = nullptr;

    ControllerService* diRoot_ = nullptr;
    std::vector<DeviceInstance> diDevList_;
    int32_t notifyEvent_ = 0;
    DeviceSlot device_;
    std::string inUse_;  // identity of the open device's line; "" while none is open
    DIPROPLONG deadZoneProp_;
    DIPROPLONG saturationProp_;
    DIPROPRANGE rangeProp_;
    bool inCycle_ = false;
    bool refreshPending_ = false;  // a change seen during a cycle, handled right after it
};

}  // namespace vantrel
