#pragma once
// How a raw SDL axis value becomes the value a report holds: a range, and a dead zone and a
// saturation in ten-thousandths of the travel from the centre to either end. Stored gate settings
// are in these units.

#include <cstdint>

namespace vantrel {

struct AxisScale {
    // Until it is configured an axis reports 0..65535.
    int32_t min = 0;
    int32_t max = 65535;
    int32_t deadZone = 0;
    int32_t saturation = 10000;
};

// SDL's centre is 0 and its ends are -32767 and 32767 (-32768 counts as -32767), so a deflection
// and its mirror image report values mirrored about the centre of the range. The position p is
// |raw| / 32767: p <= deadZone reports the centre, p >= saturation the end, and in between the
// value moves linearly from the centre to the end, rounded to the nearest whole number (halves
// away from the centre).
int32_t ScaleAxis(int16_t raw, const AxisScale& scale);

}  // namespace vantrel
