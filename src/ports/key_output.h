#pragma once
// Keyboard output in brace notation: "{NAME down}" holds a key, "{NAME up}" lets it go.

#include <cstdint>
#include <string_view>

namespace vantrel {

class KeySender {
  public:
    virtual ~KeySender() = default;

    // Mode 0 is the only mode used. Throws ServiceError when the event cannot be delivered; an
    // unknown or empty key name is not an error and sends nothing.
    virtual void Send(std::string_view text, int32_t mode) = 0;
    // Lets go of every key this sender holds. Never throws.
    virtual void ReleaseAll() noexcept = 0;
};

}  // namespace vantrel
