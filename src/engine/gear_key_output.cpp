#include "engine/gear_key_output.h"

namespace vantrel {

void SendGearKeys(ShiftState& s, KeyOutput& keys) {
    for (int gear = 1; gear <= kGearPositions; ++gear) {
        keys.Send(GearKey(s, gear), gear == s.currentGear ? KeyAction::Down : KeyAction::Up);
    }
    s.currentGear = kNeutral;
}

}  // namespace vantrel
