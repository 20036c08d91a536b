#include "tools/replay/gear_summary.h"

namespace vantrel::replay {

void GearSummary::OnSend(std::string_view text) {
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

std::optional<std::string> GearSummary::EndCycle(int cycle) {
    std::string state;
    if (lastGear_ == 0) {
        state = "neutral";
    } else {
        state = lastGear_ == 9 ? "reverse" : "gear " + std::to_string(lastGear_);
        std::string keys;
        for (const std::string& key : held_) keys += (keys.empty() ? "" : " ") + key;
        state += keys.empty() ? " (holding no key)" : " (holding " + keys + ")";
    }
    if (lastLine_.empty() && state == "neutral") lastLine_ = state;  // the start is neutral
    if (state == lastLine_) return std::nullopt;
    lastLine_ = state;
    return "cycle " + std::to_string(cycle) + ": " + state;
}

}  // namespace vantrel::replay
