#pragma once
// The file operations the uinput backend makes on /dev/uinput, behind an interface so tests can
// check the set-up requests and the bytes written on a machine without /dev/uinput.

#include <cstddef>
#include <memory>
#include <string>

struct uinput_setup;

namespace vantrel {

class UinputIo {
  public:
    virtual ~UinputIo() = default;
    // Each returns 0 on success or the errno value of the failure.
    virtual int SetBit(unsigned long request, int value) = 0;  // UI_SET_EVBIT, UI_SET_KEYBIT
    virtual int Setup(const uinput_setup& setup) = 0;          // UI_DEV_SETUP
    virtual int Create() = 0;                                  // UI_DEV_CREATE
    virtual int Destroy() = 0;                                 // UI_DEV_DESTROY
    virtual int Write(const void* data, size_t size) = 0;      // whole buffer or an error
};

// Opens `path` for writing. On failure returns nullptr and sets `error` to the errno value.
std::unique_ptr<UinputIo> OpenUinputFile(const std::string& path, int& error);

}  // namespace vantrel
