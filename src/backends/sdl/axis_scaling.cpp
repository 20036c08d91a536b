#include "backends/sdl/axis_scaling.h"

#include <cstdlib>

namespace vantrel {
namespace {

constexpr int64_t kHalfTravel = 32767;

// Floor of a / b for b > 0.
int64_t FloorDiv(int64_t a, int64_t b) {
    const int64_t q = a / b;
    return (a % b != 0 && a < 0) ? q - 1 : q;
}

}  // namespace

int32_t ScaleAxis(int16_t raw, const AxisScale& scale) {
    // Exact integer arithmetic: the thresholds are compared without rounding, and the one rounding
    // happens at the end. Deflection fraction = num / den.
    const int64_t magnitude = raw < -kHalfTravel ? kHalfTravel : std::abs(int64_t{raw});
    const int64_t position = magnitude * 10000;
    const int64_t deadZone = int64_t{scale.deadZone} * kHalfTravel;
    const int64_t saturation = int64_t{scale.saturation} * kHalfTravel;
    int64_t num = 0;
    int64_t den = 1;
    if (position <= deadZone) {
        num = 0;
    } else if (position >= saturation) {
        num = 1;
    } else {
        num = position - deadZone;
        den = saturation - deadZone;
    }

    // value = (min + max) / 2 + (max - min) / 2 * num / den, i.e. x / (2 * den).
    const int64_t sum = int64_t{scale.min} + scale.max;
    const int64_t span = int64_t{scale.max} - scale.min;
    const int64_t x = sum * den + span * num;
    const int64_t upper = FloorDiv(x + den, 2 * den);  // rounded, halves upwards
    if (num == 0 || raw >= 0) return static_cast<int32_t>(upper);
    // The mirror image of the same deflection, so that both directions round alike.
    return static_cast<int32_t>(sum - upper);
}

}  // namespace vantrel
