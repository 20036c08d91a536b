#pragma once
// Recording stand-ins for the outside services, for tests of the engine and the layers above it.

#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "engine/live_view.h"
#include "engine/shift_state.h"
#include "ports/controller.h"
#include "ports/key_output.h"

namespace vantrel::testing {

// What a missing config.ini gives: the default gate, keys q a w s e d r f and z for reverse.
MainState DefaultSettings();

// Records every Send text; can be told to fail on the n-th call from now on.
class RecordingKeySender : public KeySender {
  public:
    void Send(std::string_view text, int32_t mode) override;
    void ReleaseAll() noexcept override { ++releaseAllCalls; }
    void FailOnCall(int n) { failCountdown = n; }

    std::vector<std::string> sent;
    int releaseAllCalls = 0;
    std::optional<int> failCountdown;
};

// Keeps the three lists and the caption as the main window would show them.
class RecordingDisplay : public Display {
  public:
    void WriteRow(ListId list, int index, const std::string& text) override;
    void SetCaption(const std::string& text) override { caption = text; }
    void ShowCycleError(const std::string& message) override { errors.push_back(message); }

    std::vector<std::string> axisRows, buttonRows, gearRows;
    std::string caption;
    std::vector<std::string> errors;
    int rowWrites = 0;
};

// A device whose reads return whatever the test put in `next` (or fail with `nextError`), and
// which keeps how it was configured.
class FakeDevice : public ControllerDevice {
  public:
    int32_t GetCapabilities(DIDEVCAPS& caps) override;
    std::vector<std::string> GetAxisObjectTypes() override { return axisTypes; }
    int32_t SetEventNotification(int32_t handle) override;
    int32_t SetProperty(DiLongProperty which, const DIPROPLONG& prop) override;
    int32_t SetRangeProperty(const DIPROPRANGE& prop) override;
    int32_t Acquire() override;
    int32_t Unacquire() override;
    int32_t Poll() override { return DI_OK; }
    int32_t GetDeviceStateJoystick(DIJOYSTATE& state) override;

    DIJOYSTATE next;
    int32_t nextError = DI_OK;  // consumed by one read
    int32_t buttons = 12;
    std::vector<std::string> axisTypes{"GUID_XAxis", "GUID_YAxis"};
    int acquireCalls = 0;
    int reads = 0;
    // Dead zone and saturation by axis offset (kWholeDevice for the whole device).
    static constexpr int32_t kWholeDevice = -1;
    std::map<int32_t, int32_t> deadZone, saturation;
    DIPROPRANGE range;
    int32_t eventHandle = 0;
    bool acquired = false;
};

}  // namespace vantrel::testing
