#pragma once
// The main window as the poll cycle sees it: three live lists written row by row, the caption,
// and the box that reports a failed cycle.

#include <string>

namespace vantrel {

enum class LiveList { Axes, Buttons, GearSums };

class LiveView {
  public:
    virtual ~LiveView() = default;

    // Replaces row `index`; writing the row just past the last one appends it.
    virtual void WriteRow(LiveList list, int index, const std::string& text) = 0;
    virtual void SetCaption(const std::string& text) = 0;
    // Reports the failed cycle to the user; the program ends afterwards.
    virtual void ShowCycleError(const std::string& message) = 0;
};

}  // namespace vantrel
