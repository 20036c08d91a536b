#pragma once
// An output that acts when the engaged gear changes rather than holding something per gear: the
// sequential up/down taps and the rumble pulse.

namespace vantrel {

class GearFollower {
  public:
    virtual ~GearFollower() = default;

    // Every pass, after its key events: the engaged gear (kNeutral, 1..8, kReverse). Throws
    // ServiceError when something it sends cannot be delivered.
    virtual void FollowGear(int gear) = 0;
    // Ends whatever is under way (a key held, a motor running) and forgets what was followed.
    // Never throws.
    virtual void ReleaseAll() noexcept = 0;
};

}  // namespace vantrel
