#include "tools/replay/gear_summary.h"

#include <charconv>

namespace vantrel::replay {

GearSummary GearSummary::ForTaps(std::string up, std::string down) {
    GearSummary summary(false, false);
    summary.taps_ = true;
    summary.up_ = std::move(up);
    summary.down_ = std::move(down);
    return summary;
}

void GearSummary::OnTap(std::string_view text) {
    if (!text.ends_with(" down}")) return;
    const std::string name(text.substr(1, text.size() - 7));
    if (name == up_) {
        ++gamePosition_;
    } else if (name == down_) {
        --gamePosition_;
    }
    if (tapRuns_.empty() || tapRuns_.back().first != name) tapRuns_.emplace_back(name, 0);
    ++tapRuns_.back().second;
}

std::optional<std::string> GearSummary::EndTapCycle(int cycle) {
    if (tapRuns_.empty()) return std::nullopt;
    std::string taps;
    for (const auto& [key, times] : tapRuns_) {
        taps += (taps.empty() ? "" : ", ") + key + " tapped " +
                (times == 1 ? std::string("once") : std::to_string(times) + " times");
    }
    tapRuns_.clear();
    const std::string gear = gamePosition_ < 0    ? "reverse"
                             : gamePosition_ == 0 ? "neutral"
                                                  : "gear " + std::to_string(gamePosition_);
    return "cycle " + std::to_string(cycle) + ": " + gear + " (" + taps + ")";
}

void GearSummary::OnSend(std::string_view text) {
    if (taps_) {
        OnTap(text);
        return;
    }
    // Texts are "{NAME down}" or "{NAME up}"; nine of them make one pass, in key order.
    const bool down = text.ends_with(" down}");
    const size_t suffix = down ? 6 : 4;
    const std::string name(text.substr(1, text.size() - 1 - suffix));
    ++sendsThisPass_;
    if (down) {
        if (!name.empty()) held_.insert(name);
        passGear_ = sendsThisPass_;
    } else {
        held_.erase(name);
    }
    if (sendsThisPass_ == 9) {
        lastGear_ = passGear_;
        sendsThisPass_ = 0;
        passGear_ = 0;
    }
}

void GearSummary::OnShifter(std::string_view change) {
    int button = 0;
    std::from_chars(change.data(), change.data() + change.size(), button);
    if (change.ends_with(" down")) {
        shifterHeld_.insert(button);
    } else {
        shifterHeld_.erase(button);
    }
}

std::string GearSummary::Holding(int gear) const {
    std::string keys;
    if (keys_ && gear != 0) {  // in neutral every key is up
        for (const std::string& key : held_) keys += " " + key;
        keys = keys.empty() ? "holding no key" : "holding" + keys;
    }
    std::string buttons;
    if (shifter_) {
        for (const int b : shifterHeld_) {
            buttons += (buttons.empty() ? "" : ", ") + std::to_string(b);
        }
        if (!buttons.empty()) {
            buttons = (shifterHeld_.size() > 1 ? "shifter buttons " : "shifter button ") + buttons;
        }
    }
    if (keys.empty() || buttons.empty()) return keys + buttons;
    return keys + "; " + buttons;
}

std::optional<std::string> GearSummary::EndCycle(int cycle) {
    if (taps_) return EndTapCycle(cycle);
    int gear = lastGear_;
    if (!keys_) {  // the gear buttons 1..9 tell the decision; at most one is down
        gear = 0;
        for (const int b : shifterHeld_) gear = b <= 9 ? b : gear;
    }
    std::string state = gear == 0   ? "neutral"
                        : gear == 9 ? "reverse"
                                    : "gear " + std::to_string(gear);
    if (const std::string holding = Holding(gear); !holding.empty()) {
        state += " (" + holding + ")";
    }
    if (lastLine_.empty() && state == "neutral") lastLine_ = state;  // the start is neutral
    if (state == lastLine_) return std::nullopt;
    lastLine_ = state;
    return "cycle " + std::to_string(cycle) + ": " + state;
}

}  // namespace vantrel::replay
