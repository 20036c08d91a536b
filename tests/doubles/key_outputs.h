#pragma once
// Stand-ins for where keys go: a key output that records each event as a person writes it
// ("{q down}"), and a keyboard backend that only counts what the key service hands it, so a
// benchmark measures the service's bookkeeping, not an operating system.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "output/key_names.h"
#include "ports/key_output.h"
#include "ports/keyboard_device.h"
#include "ports/service_error.h"

namespace vantrel::testing {

class RecordingKeyOutput : public KeyOutput {
  public:
    void Send(const AssignedKey& key, KeyAction action) override {
        if (failCountdown && --*failCountdown == 0) {
            failCountdown.reset();
            throw ServiceError(kErrorKeySendFailed, "The key could not be sent");
        }
        sent.push_back("{" + key.name + (action == KeyAction::Down ? " down}" : " up}"));
    }
    void ReleaseAll() noexcept override { ++releaseAllCalls; }
    // The n-th Send from now on fails.
    void FailOnCall(int n) { failCountdown = n; }

    std::vector<std::string> sent;
    int releaseAllCalls = 0;
    std::optional<int> failCountdown;
};

class CountingKeyboard : public KeyBackend {
  public:
    std::string_view Name() const override { return "counting"; }
    void Press(const KeyName&) override { ++events; }
    void Release(const KeyName&) override { ++events; }
    uint64_t events = 0;
};

// For tests that drive a key output by hand: the key named `name` down or up.
inline void KeyDown(KeyOutput& out, std::string_view name) {
    out.Send(AssignKey(name), KeyAction::Down);
}
inline void KeyUp(KeyOutput& out, std::string_view name) {
    out.Send(AssignKey(name), KeyAction::Up);
}

}  // namespace vantrel::testing
