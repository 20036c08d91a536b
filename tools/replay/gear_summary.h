#pragma once
// Follows the key events of the replay and says, after each cycle, when the held gear key changed:
// "cycle 12: gear 3 (holding w)", "cycle 15: neutral".

#include <optional>
#include <set>
#include <string>
#include <string_view>

namespace vantrel::replay {

class GearSummary {
  public:
    // Every Send text, in order.
    void OnSend(std::string_view text);
    // After cycle `cycle`; returns the line to print when the held gear key changed.
    std::optional<std::string> EndCycle(int cycle);

  private:
    std::set<std::string> held_;
    int sendsThisPass_ = 0;
    int passGear_ = 0;  // gear whose key position was pressed in the pass being sent
    int lastGear_ = 0;  // decision of the last complete pass
    std::string lastLine_;
};

}  // namespace vantrel::replay
