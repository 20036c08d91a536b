// Fuzzes the boundary-number conversion against a slow reference built on long double.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "settings/boundary_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    const auto value = vantrel::ParseBoundary(text);
    if (!value) return 0;
    // Whatever was accepted is a plain decimal: strtold agrees up to the rounding rule.
    const long double reference = std::strtold(text.c_str(), nullptr);
    if (std::fabs(reference - static_cast<long double>(*value)) > 0.5000001L) std::abort();
    return 0;
}
