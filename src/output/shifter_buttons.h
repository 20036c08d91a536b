#pragma once
// The shifter's eleven buttons as games last saw them, and the changes that bring them to a new
// state: releases first, then presses, each in ascending button order, so a game never sees two
// gears at once.

#include <array>
#include <bitset>
#include <cstdint>

#include "ports/shifter_identity.h"

namespace vantrel {

struct ButtonChange {
    int button;  // 1..11
    bool down;
};

// At most every button changes at once; kept in place so a pass allocates nothing.
class ButtonChanges {
  public:
    void Add(ButtonChange change) { items_[static_cast<size_t>(count_++)] = change; }
    const ButtonChange* begin() const { return items_.data(); }
    const ButtonChange* end() const { return items_.data() + count_; }
    int size() const { return count_; }
    bool empty() const { return count_ == 0; }

  private:
    std::array<ButtonChange, kShifterButtons> items_{};
    int count_ = 0;
};

class ShifterButtons {
  public:
    // Gear buttons 1..9 to a pass's decision: that gear's button (9 for reverse) down, the others
    // up; 0 (neutral) or anything outside 1..9 lets all of them go.
    ButtonChanges SetGear(int gear);
    // Buttons 10 and 11.
    ButtonChanges SetKnob(bool range, bool splitter);
    ButtonChanges ReleaseAll();

    bool IsDown(int button) const { return down_.test(static_cast<size_t>(button)); }
    bool AnyDown() const { return down_.any(); }

  private:
    using Set = std::bitset<kShifterButtons + 1>;  // index 0 unused
    ButtonChanges MoveTo(const Set& wanted, int first, int last);

    Set down_;
};

}  // namespace vantrel
