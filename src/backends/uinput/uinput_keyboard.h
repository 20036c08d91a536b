#pragma once
// Keys through a virtual keyboard of the kernel's uinput module: works in any session (X11,
// Wayland, console) for a user who may write /dev/uinput.

#include <memory>
#include <string>

#include "backends/uinput/uinput_io.h"
#include "ports/keyboard_device.h"

namespace vantrel {

inline constexpr char kUinputDeviceName[] = "Vantrel virtual keyboard";
inline constexpr char kUinputPath[] = "/dev/uinput";

class UinputBackend final : public KeyBackend {
  public:
    // Creates the virtual keyboard "Vantrel virtual keyboard" with every key of the name table
    // (and at least codes 1 to 31, which is what makes udev tag it as a keyboard). Throws
    // ServiceError saying which step failed.
    explicit UinputBackend(std::unique_ptr<UinputIo> io);
    // Removes the virtual keyboard; the kernel lets go of any key still down on it.
    ~UinputBackend() override;

    // Opens `path` and creates the device; the error text says what failed and what to do.
    static std::unique_ptr<UinputBackend> Open(const std::string& path);

    std::string_view Name() const override { return "uinput"; }
    void Press(const KeyName& key) override { Emit(key, 1); }
    void Release(const KeyName& key) override { Emit(key, 0); }

  private:
    // One key event followed by a SYN_REPORT, in one write.
    void Emit(const KeyName& key, int value);

    std::unique_ptr<UinputIo> io_;
};

}  // namespace vantrel
