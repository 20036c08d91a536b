#pragma once
// Reads an input device's evdev node as a game or a compositor does, to see what Vantrel's
// virtual keyboard and virtual shifter really send.

#include <linux/input.h>

#include <chrono>
#include <optional>
#include <set>
#include <string>
#include <vector>

namespace vantrel::testing {

using Clock = std::chrono::steady_clock;
using namespace std::chrono_literals;

// The /dev/input/eventN whose device has this name, once it appears (udev settled), or nothing
// after `wait`.
std::optional<std::string> FindEventNode(const std::string& name, Clock::duration wait);

// The udev properties of a device node ("KEY=value" lines of `udevadm info`), once udev has
// handled its arrival.
std::string UdevProperties(const std::string& node);

class EvdevWatch {
  public:
    explicit EvdevWatch(const std::string& node);
    ~EvdevWatch();
    EvdevWatch(const EvdevWatch&) = delete;
    EvdevWatch& operator=(const EvdevWatch&) = delete;

    struct KeyChange {
        uint16_t code;
        bool down;
        Clock::time_point when;  // the kernel's time stamp of the event
    };

    // Reads until `code` is in the state `down`; false if it is not after `wait`.
    bool WaitForKey(uint16_t code, bool down, Clock::duration wait = 10s);
    // Reads until the change of `code` to `down` at or after changes()[from]; nothing after `wait`.
    std::optional<KeyChange> WaitForChange(uint16_t code, bool down, size_t from,
                                           Clock::duration wait = 10s);
    // Reads until nothing more comes for `quiet` (or the device is gone).
    void Drain(Clock::duration quiet = 300ms);
    // Reads until the device is removed (the read fails with ENODEV); false after `wait`.
    bool WaitUntilGone(Clock::duration wait = 10s);

    const std::set<uint16_t>& keysDown() const { return down_; }
    // Every key change read so far, in order.
    const std::vector<KeyChange>& changes() const { return changes_; }
    bool gone() const { return gone_; }

    // The device's ids and the keys it offers, from its node.
    input_id Ids() const;
    int ButtonCount() const;  // keys from BTN_MISC on (joystick and gamepad buttons)

  private:
    // Reads what is there, waiting at most `wait` for the first event; false when nothing came.
    bool ReadSome(Clock::duration wait);

    int fd_ = -1;
    bool gone_ = false;
    std::set<uint16_t> down_;
    std::vector<KeyChange> changes_;
};

}  // namespace vantrel::testing
