#pragma once
// The replay's stand-ins for the controller, the key sender and the main window: each reports
// what it was asked to do as one effect line.

#include <functional>
#include <optional>
#include <string>

#include "engine/live_view.h"
#include "output/shifter_buttons.h"
#include "ports/controller.h"
#include "ports/key_output.h"
#include "ports/shifter_output.h"

namespace vantrel::replay {

using EffectSink = std::function<void(const std::string& line)>;

// Reads return the scripted record, or fail once with the scripted code.
class ScriptedDevice : public ControllerDevice {
  public:
    explicit ScriptedDevice(EffectSink sink) : sink_(std::move(sink)) {}

    void SetNextState(const DIJOYSTATE& state) { next_ = state; }
    void FailNextRead(int32_t code) { failure_ = code; }

    int32_t GetCapabilities(DIDEVCAPS& caps) override;
    std::vector<std::string> GetAxisObjectTypes() override { return {}; }
    int32_t SetEventNotification(int32_t) override { return DI_OK; }
    int32_t SetProperty(DiLongProperty, const DIPROPLONG&) override { return DI_OK; }
    int32_t SetRangeProperty(const DIPROPRANGE&) override { return DI_OK; }
    int32_t Acquire() override;
    int32_t Unacquire() override { return DI_OK; }
    int32_t Poll() override { return DI_OK; }
    int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override;

    int32_t buttons = 12;

  private:
    EffectSink sink_;
    DIJOYSTATE next_;
    std::optional<int32_t> failure_;
};

class ReplayKeySender : public KeySender {
  public:
    explicit ReplayKeySender(EffectSink sink) : sink_(std::move(sink)) {}

    void Send(std::string_view text, int32_t mode) override;
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

    void SetGear(int16_t currentgear, int32_t x, int32_t y) override;
    void SetKnob(bool range, bool splitter) override;
    void ReleaseAll() noexcept override;

  private:
    void Report(const ButtonChanges& changes);

    EffectSink sink_;
    ShifterButtons buttons_;
};

class ReplayDisplay : public Display {
  public:
    explicit ReplayDisplay(EffectSink sink) : sink_(std::move(sink)) {}

    void WriteRow(ListId list, int index, const std::string& text) override;
    void SetCaption(const std::string& text) override;
    void ShowCycleError(const std::string& message) override;

  private:
    EffectSink sink_;
};

}  // namespace vantrel::replay
