#pragma once
// The gear lever as a game controller: each classification pass hands its decision here, as it
// hands its key events to the key sender.

#include <cstdint>

namespace vantrel {

class ShifterOutput {
  public:
    virtual ~ShifterOutput() = default;

    // After a pass and its key output: the pass's decision (0 neutral, 1..8 gear, 9 reverse) and
    // the stick position it classified. Throws ServiceError when the change cannot be delivered.
    virtual void SetGear(int gear, int32_t x, int32_t y) = 0;
    // After the cycle's last axis pass: whether the controller buttons named as range and
    // splitter are down. Throws ServiceError like SetGear.
    virtual void SetKnob(bool range, bool splitter) = 0;
    // Lets go of every button. Never throws.
    virtual void ReleaseAll() noexcept = 0;
};

}  // namespace vantrel
