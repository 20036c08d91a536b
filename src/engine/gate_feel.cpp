#include "engine/gate_feel.h"

#include <algorithm>

#include "engine/shift_state.h"

namespace vantrel {

void GateFeel::SetStrength(int percent) noexcept {
    strength_ = static_cast<uint16_t>(std::clamp(percent, 0, 100) * 65535 / 100);
    if (strength_ == 0) ReleaseAll();
}

void GateFeel::FollowGear(int gear) {
    if (gear == followed_) return;
    followed_ = gear;
    if (strength_ == 0 || gear == kNeutral) return;
    StartPulse(gear == kReverse ? 1 : 0);
}

void GateFeel::StartPulse(int pulsesAfterThis) {
    Controller* controller = slot_.controller.get();
    if (!controller) return;
    // Asked for its own length too, in case our stop never comes; the stop is ours because a
    // backend may end a pulse only when the controller is next read, and a stick at rest in
    // its gear is not read.
    running_ = controller->Rumble(strength_, static_cast<uint32_t>(kPulseLength.count()));
    if (!running_) return;  // no rumble here: nothing to feel, nothing to report
    alarm_.Set(kPulseLength, [this, pulsesAfterThis] {
        StopMotors();
        if (pulsesAfterThis > 0) {
            alarm_.Set(kPulsePause, [this, pulsesAfterThis] { StartPulse(pulsesAfterThis - 1); });
        }
    });
}

void GateFeel::StopMotors() noexcept {
    if (!running_) return;
    running_ = false;
    if (Controller* controller = slot_.controller.get()) controller->Rumble(0, 0);
}

void GateFeel::ReleaseAll() noexcept {
    alarm_.Cancel();
    StopMotors();
    followed_ = kNeutral;
}

}  // namespace vantrel
