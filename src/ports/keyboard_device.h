#pragma once
// One way of making the operating system see a key go down or up (uinput, XTest, a test fake).

#include <string_view>
namespace vantrel {

struct KeyName;  // output/key_names.h

class KeyBackend {
  public:
    virtual ~KeyBackend() = default;

    // Short name for the user ("uinput", "XTest").
    virtual std::string_view Name() const = 0;
    // Each throws ServiceError with a plain-words description when the event cannot be
    // delivered. Only called by KeyService, one call at a time.
    virtual void Press(const KeyName& key) = 0;
    virtual void Release(const KeyName& key) = 0;
    // Returns once every event sent so far has been handled by the system, for the moment before
    // the process ends. (An X server drops what a client sent just before it went away.)
    virtual void WaitUntilDelivered() noexcept {}
    // The service has let go of every key and presses none again: the process is ending on
    // purpose. (The XTest backend sends its key watchdog away here.)
    virtual void OnCleanShutdown() noexcept {}
};

}  // namespace vantrel
