#pragma once
// One poll cycle: read the controller, recover a lost one, show axes, buttons and field sums, and
// run one classification pass with its key output per present axis.

#include <cstdint>

#include "engine/controller_slot.h"
#include "engine/live_view.h"
#include "engine/shift_state.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel {

enum class CycleEnd {
    NoDevice,   // nothing open: nothing read, shown or sent
    Recovered,  // the device was lost or not acquired: re-acquired, nothing else done
    Completed,
    Failed,  // the error was shown; the program must end now
};

inline constexpr const char* kCaptionAvailable = "Joystick Sample: Available";

// `eventid` is the notification's event handle, 0 for a direct call; it is not looked at.
// With a `shifter`, each pass hands it its decision after the pass's key output, and after the
// last axis pass it gets the range and splitter buttons; the error path lets its buttons go too.
CycleEnd DirectXEvent8_DXCallback(MainState& s, DeviceSlot& device, KeySender& autoIt,
                                  Display& display, int32_t eventid,
                                  ShifterOutput* shifter = nullptr);

}  // namespace vantrel
