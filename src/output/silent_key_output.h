#pragma once
// The key output of a run whose gears go out through the virtual shifter alone: no key is sent.

#include "ports/key_output.h"

namespace vantrel {

class SilentKeyOutput final : public KeyOutput {
  public:
    void Send(const AssignedKey&, KeyAction) override {}
    void ReleaseAll() noexcept override {}
};

}  // namespace vantrel
