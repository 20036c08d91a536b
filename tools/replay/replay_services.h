#pragma once
// The replay's stand-ins for the controller, the key output and the main window: each reports
// what it was asked to do as one effect line.

#include <functional>
#include <optional>
#include <string>

#include "engine/live_view.h"
#include "output/shifter_buttons.h"
#include "ports/alarm.h"
#include "ports/controller.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel::replay {

using EffectSink = std::function<void(const std::string& line)>;

// Reads return the scripted report, or fail once as scripted. A controller gone away is taken up
// again at once, as a real one would be when it comes back: the line "acquire".
class ScriptedController : public Controller {
  public:
    explicit ScriptedController(EffectSink sink) : sink_(std::move(sink)) {}

    void SetNextReport(const ControllerReport& report) { next_ = report; }
    void FailNextRead(ReadResult result) { failure_ = result; }

    ControllerTraits Describe() override { return {buttons, {}}; }
    void Configure(const AxisScaling&) override {}
    void SendReportsTo(int32_t) override {}
    ReadResult Read(ControllerReport& report) override;

    int buttons = 12;

  private:
    EffectSink sink_;
    ControllerReport next_;
    std::optional<ReadResult> failure_;
};

// Prints each key event as a person writes it: "send {q down}", "send {q up}".
class ReplayKeyOutput : public KeyOutput {
  public:
    explicit ReplayKeyOutput(EffectSink sink) : sink_(std::move(sink)) {}

    void Send(const AssignedKey& key, KeyAction action) override;
    void ReleaseAll() noexcept override {}
    void FailOnCall(int n) { failCountdown_ = n; }

  private:
    EffectSink sink_;
    std::optional<int> failCountdown_;
};

// Reports each change of the virtual shifter's buttons as "shifter N down" or "shifter N up".
class ReplayShifter : public ShifterOutput {
  public:
    explicit ReplayShifter(EffectSink sink) : sink_(std::move(sink)) {}

    void SetGear(int gear, int32_t x, int32_t y) override;
    void SetKnob(bool range, bool splitter) override;
    void ReleaseAll() noexcept override;

  private:
    void Report(const ButtonChanges& changes);

    EffectSink sink_;
    ShifterButtons buttons_;
};

// The replay has no clock: what would wait for an alarm happens at once, in order, within the
// call that set it. A ring that sets the alarm again runs after it returns, not inside it.
class ImmediateAlarm : public Alarm {
  public:
    void Set(std::chrono::milliseconds delay, std::function<void()> ring) override;
    void Cancel() override { pending_ = nullptr; }

  private:
    std::function<void()> pending_;
    bool ringing_ = false;
};

class ReplayView : public LiveView {
  public:
    explicit ReplayView(EffectSink sink) : sink_(std::move(sink)) {}

    void WriteRow(LiveList list, int index, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    void ShowCycleError(const std::string& message) override;

  private:
    EffectSink sink_;
};

}  // namespace vantrel::replay
