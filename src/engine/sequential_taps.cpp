#include "engine/sequential_taps.h"

#include "ports/service_error.h"

namespace vantrel {
namespace {

int Position(int gear) { return gear == kReverse ? -1 : gear; }

}  // namespace

void SequentialTaps::Reset(const TapSettings& settings) noexcept {
    ReleaseAll();
    settings_ = settings;
    game_ = target_ = 0;
}

int SequentialTaps::gameGear() const { return game_ < 0 ? kReverse : game_; }

void SequentialTaps::FollowGear(int gear) {
    if (gear == kNeutral || Position(gear) == target_) return;
    target_ = Position(gear);
    // A tap under way or the gap after it goes on; its end turns towards the new target.
    if (phase_ == Phase::Idle) PressNext();
}

void SequentialTaps::PressNext() {
    if (game_ == target_) {
        phase_ = Phase::Idle;
        return;
    }
    const bool up = target_ > game_;
    pressed_ = up ? &settings_.up : &settings_.down;
    phase_ = Phase::KeyDown;
    keys_.Send(*pressed_, KeyAction::Down);
    game_ += up ? 1 : -1;  // a game shifts as the key goes down
    alarm_.Set(settings_.press, [this] { Ring(&SequentialTaps::LetGo); });
}

void SequentialTaps::LetGo() {
    keys_.Send(*pressed_, KeyAction::Up);
    pressed_ = nullptr;
    phase_ = Phase::Gap;  // every press is followed by its gap, so the next one is seen apart
    alarm_.Set(settings_.gap, [this] { Ring(&SequentialTaps::GapOver); });
}

void SequentialTaps::GapOver() { PressNext(); }

void SequentialTaps::Ring(void (SequentialTaps::*step)()) {
    if (!onFailure) {
        (this->*step)();
        return;
    }
    try {
        (this->*step)();
    } catch (const ServiceError& e) {
        ReleaseAll();
        onFailure(e.Shown());
    }
}

void SequentialTaps::ReleaseAll() noexcept {
    alarm_.Cancel();
    if (pressed_) {
        try {
            keys_.Send(*pressed_, KeyAction::Up);
        } catch (...) {
            // The key output's own ReleaseAll is the last word on held keys.
        }
        pressed_ = nullptr;
    }
    phase_ = Phase::Idle;
    target_ = game_;
}

}  // namespace vantrel
