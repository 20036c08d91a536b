#pragma once
// A gate you can feel: when a gear goes in, the controller in use gives one short rumble pulse;
// reverse gives two. Neutral gives none.

#include "engine/controller_slot.h"
#include "engine/gear_follower.h"
#include "ports/alarm.h"

namespace vantrel {

inline constexpr std::chrono::milliseconds kPulseLength{40};
inline constexpr std::chrono::milliseconds kPulsePause{60};  // between reverse's two pulses

class GateFeel final : public GearFollower {
  public:
    // The pulses go to whatever controller `slot` holds when they start.
    GateFeel(ControllerSlot& slot, Alarm& alarm) : slot_(slot), alarm_(alarm) {}

    // 1..100 percent of the motors' strength; 0 turns the pulses off.
    void SetStrength(int percent) noexcept;

    // Never throws: a controller that cannot rumble is simply not felt.
    void FollowGear(int gear) override;
    void ReleaseAll() noexcept override;

  private:
    void StartPulse(int pulsesAfterThis);
    void StopMotors() noexcept;

    ControllerSlot& slot_;
    Alarm& alarm_;
    uint16_t strength_ = 0;
    int followed_ = 0;  // the engaged gear of the last pass
    bool running_ = false;
};

}  // namespace vantrel
