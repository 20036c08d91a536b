#pragma once
// A key backend that only counts the events the key service hands it: the benchmarks measure
// the service's bookkeeping, not an operating system.

#include <cstdint>
#include <string_view>

#include "ports/keyboard_device.h"

namespace vantrel::bench {

class CountingBackend : public KeyBackend {
  public:
    std::string_view Name() const override { return "counting"; }
    void Press(const KeyName&) override { ++events; }
    void Release(const KeyName&) override { ++events; }
    uint64_t events = 0;
};

}  // namespace vantrel::bench
