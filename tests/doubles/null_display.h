#pragma once
// A display that draws nothing: benchmarks measure the cycle, not the windows.

#include <cstdio>
#include <string>

#include "engine/live_view.h"

namespace vantrel::bench {

class NullDisplay : public Display {
  public:
    // A benchmark that injects failures on purpose does not want each one printed.
    explicit NullDisplay(bool reportCycleErrors = true) : reportCycleErrors_(reportCycleErrors) {}
    void WriteRow(ListId, int, const std::string&) override {}
    void SetCaption(const std::string&) override {}
    void ShowCycleError(const std::string& message) override {
        if (reportCycleErrors_) std::fprintf(stderr, "poll cycle failed: %s\n", message.c_str());
    }

  private:
    bool reportCycleErrors_;
};

}  // namespace vantrel::bench
