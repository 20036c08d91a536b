#pragma once
// What one pump of the controller service saw.

namespace vantrel {

struct PumpReport {
    // A device bound to an event changed its state (or was detached) since the last pump.
    bool changed = false;
    // Some device is acquired and bound to an event, so pumping has a purpose.
    bool watching = false;
};

}  // namespace vantrel
