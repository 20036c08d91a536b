#pragma once
// Stand-ins for the main window's live lists: one that keeps them as the window would show them,
// and one that draws nothing (benchmarks measure the cycle, not the windows).

#include <cstdio>
#include <string>
#include <vector>

#include "engine/live_view.h"

namespace vantrel::testing {

class RecordingView : public LiveView {
  public:
    void WriteRow(LiveList list, int index, const std::string& text) override {
        ++rowWrites;
        auto& rows = list == LiveList::Axes      ? axisRows
                     : list == LiveList::Buttons ? buttonRows
                                                 : gearRows;
        if (index == static_cast<int>(rows.size())) {
            rows.push_back(text);
        } else {
            rows.at(static_cast<size_t>(index)) = text;
        }
    }
    void SetCaption(const std::string& text) override { caption = text; }
    void ShowCycleError(const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> axisRows, buttonRows, gearRows;
    std::string caption;
    std::vector<std::string> errors;
    int rowWrites = 0;
};

class NullView : public LiveView {
  public:
    // A benchmark that injects failures on purpose does not want each one printed.
    explicit NullView(bool reportCycleErrors = true) : reportCycleErrors_(reportCycleErrors) {}
    void WriteRow(LiveList, int, const std::string&) override {}
    void SetCaption(const std::string&) override {}
    void ShowCycleError(const std::string& message) override {
        if (reportCycleErrors_) std::fprintf(stderr, "poll cycle failed: %s\n", message.c_str());
    }

  private:
    bool reportCycleErrors_;
};

}  // namespace vantrel::testing
