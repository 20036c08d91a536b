#pragma once
// The key sender of a run whose gears go out through the virtual shifter alone: no key is sent.

#include "ports/key_output.h"

namespace vantrel {

class SilentKeySender final : public KeySender {
  public:
    void Send(std::string_view, int32_t) override {}
    void ReleaseAll() noexcept override {}
};

}  // namespace vantrel
