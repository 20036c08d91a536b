#include "output/shifter_buttons.h"

namespace vantrel {

ButtonChanges ShifterButtons::MoveTo(const Set& wanted, int first, int last) {
    ButtonChanges changes;
    for (const bool down : {false, true}) {
        for (int b = first; b <= last; ++b) {
            const size_t i = static_cast<size_t>(b);
            if (wanted.test(i) != down || down_.test(i) == down) continue;
            down_.set(i, down);
            changes.Add({b, down});
        }
    }
    return changes;
}

ButtonChanges ShifterButtons::SetGear(int gear) {
    Set wanted;
    if (gear >= 1 && gear <= kReverseButton) {
        wanted.set(static_cast<size_t>(gear));
    }
    return MoveTo(wanted, 1, kReverseButton);
}

ButtonChanges ShifterButtons::SetKnob(bool range, bool splitter) {
    Set wanted;
    wanted.set(kRangeButton, range);
    wanted.set(kSplitterButton, splitter);
    return MoveTo(wanted, kRangeButton, kSplitterButton);
}

ButtonChanges ShifterButtons::ReleaseAll() { return MoveTo(Set{}, 1, kShifterButtons); }

}  // namespace vantrel
