#pragma once
// Follows the outputs of the replay and says, after each cycle, when what the game sees changed:
// "cycle 12: gear 3 (holding w)", "cycle 12: gear 3 (shifter button 3)", "cycle 15: neutral";
// with sequential output, the taps: "cycle 12: gear 3 (PGUP tapped 3 times)".

#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace vantrel::replay {

class GearSummary {
  public:
    // Which outputs the run has: keys, the virtual shifter, or both.
    GearSummary(bool keys, bool shifter) : keys_(keys), shifter_(shifter) {}
    // Sequential output: every Send is a tap of the up or down key, and the game's gear is
    // counted from neutral.
    static GearSummary ForTaps(std::string up, std::string down);

    // Every Send text, in order.
    void OnSend(std::string_view text);
    // Every shifter change, "N down" or "N up".
    void OnShifter(std::string_view change);
    // After cycle `cycle`; returns the line to print when the held gear key changed.
    std::optional<std::string> EndCycle(int cycle);

  private:
    void OnTap(std::string_view text);
    std::optional<std::string> EndTapCycle(int cycle);

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

    bool taps_ = false;
    std::string up_;
    std::string down_;
    int gamePosition_ = 0;                              // -1 reverse, 0 neutral, 1..8
    std::vector<std::pair<std::string, int>> tapRuns_;  // this cycle's taps: key, times in a row
};

}  // namespace vantrel::replay
