#pragma once
// What one pump of the controller service saw.

namespace vantrel {

struct PumpReport {
    // A controller tied to a receiver changed its state (or was detached) since the last pump.
    bool changed = false;
    // Some controller is tied to a receiver, so pumping has a purpose.
    bool watching = false;
};

}  // namespace vantrel
