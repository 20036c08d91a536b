#pragma once
// The file operations the uinput backend makes on /dev/uinput, behind an interface so tests can
// check the set-up requests and the bytes written on a machine without /dev/uinput.

#include <cerrno>
#include <cstddef>
#include <memory>
#include <string>

struct uinput_setup;
struct uinput_abs_setup;

namespace vantrel {

class UinputIo {
  public:
    virtual ~UinputIo() = default;
    // Each returns 0 on success or the errno value of the failure.
    virtual int SetBit(unsigned long request, int value) = 0;  // UI_SET_EVBIT, _KEYBIT, _ABSBIT
    virtual int Setup(const uinput_setup& setup) = 0;          // UI_DEV_SETUP
    // UI_ABS_SETUP, for devices with absolute axes; a stand-in made for a keyboard refuses it.
    virtual int AbsSetup(const uinput_abs_setup& /*setup*/) { return ENOTTY; }
    virtual int Create() = 0;                              // UI_DEV_CREATE
    virtual int Destroy() = 0;                             // UI_DEV_DESTROY
    virtual int Write(const void* data, size_t size) = 0;  // whole buffer or an error
};

// Opens `path` for writing. On failure returns nullptr and sets `error` to the errno value.
std::unique_ptr<UinputIo> OpenUinputFile(const std::string& path, int& error);

// Why `path` could not be opened, in plain words, with the likely cause for the usual errors.
std::string UinputOpenFailure(const std::string& path, int error);

}  // namespace vantrel
