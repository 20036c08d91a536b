#pragma once
// Follows the outputs of the replay and says, after each cycle, when what the game sees changed:
// "cycle 12: gear 3 (holding w)", "cycle 12: gear 3 (shifter button 3)", "cycle 15: neutral".

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace vantrel::replay {

class GearSummary {
  public:
    // Which outputs the run has: keys, the virtual shifter, or both.
    GearSummary(bool keys, bool shifter) : keys_(keys), shifter_(shifter) {}

    // Every Send text, in order.
    void OnSend(std::string_view text);
    // Every shifter change, "N down" or "N up".
    void OnShifter(std::string_view change);
    // After cycle `cycle`; returns the line to print when the held gear key changed.
    std::optional<std::string> EndCycle(int cycle);

  private:
    // What the game is shown as held for `gear`: the keys and the shifter buttons.
    std::string Holding(int gear) const;

    bool keys_;
    bool shifter_;
    std::set<std::string> held_;
    std::set<int> shifterHeld_;
    int sendsThisPass_ = 0;
    int passGear_ = 0;  // gear whose key position was pressed in the pass being sent
    int lastGear_ = 0;  // decision of the last complete pass
    std::string lastLine_;
};

}  // namespace vantrel::replay
