#pragma once
// Sequential output: for a game that only knows "shift up" and "shift down", the H lever's gear
// becomes the right number of taps of the up or down key.
//
// The game's gear is counted in the order R < N < 1 < ... < 8, from N. When the engaged gear
// differs from where the taps are heading, they head there instead, by the fewest taps from the
// game's gear. Neutral sends nothing: a sequential box stays in gear while the lever crosses it.
// Only the first key press of a change is sent inside the pass; the alarm lets it go and sends
// the rest, each press held `press` and followed by `gap`.

#include <functional>
#include <string>

#include "engine/gear_follower.h"
#include "engine/shift_state.h"
#include "ports/alarm.h"
#include "ports/key_output.h"

namespace vantrel {

class SequentialTaps final : public GearFollower {
  public:
    SequentialTaps(KeyOutput& keys, Alarm& alarm) : keys_(keys), alarm_(alarm) {}

    // New keys and timing; a tap under way ends first and the game's gear is N again.
    void Reset(const TapSettings& settings) noexcept;

    void FollowGear(int gear) override;
    void ReleaseAll() noexcept override;

    // Called when a key the alarm sends cannot be delivered (every key is let go first). Without
    // it the error is thrown to whoever rang the alarm.
    std::function<void(const std::string& message)> onFailure;

    // The game's gear as the taps sent so far leave it (kNeutral, 1..8, kReverse).
    int gameGear() const;
    bool busy() const { return phase_ != Phase::Idle; }

  private:
    enum class Phase { Idle, KeyDown, Gap };

    void PressNext();
    void LetGo();
    void GapOver();
    void Ring(void (SequentialTaps::*step)());

    KeyOutput& keys_;
    Alarm& alarm_;
    TapSettings settings_;
    Phase phase_ = Phase::Idle;
    // Positions in the order R < N < 1..8: -1 reverse, 0 neutral, 1..8 the gears.
    int game_ = 0;
    int target_ = 0;
    const AssignedKey* pressed_ = nullptr;  // the key held by the tap under way
};

}  // namespace vantrel
