// The dead zone, saturation and range rule on raw SDL axis values.
#include "services/sdl/axis_scaling.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

// The configuration the controller selection makes on x and y.
constexpr AxisScale kStick{0, 10000, 1000, 9500};

TEST(AxisScaling, StickRuleAtTheCentreTheEdgesAndTheEnds) {
    struct Case {
        int raw;
        int32_t expected;
    };
    const Case cases[] = {
        {0, 5000},                                    // centre
        {3276, 5000},   {-3276, 5000},                // last raw values inside the dead zone (10 %)
        {3279, 5000},   {-3279, 5000},                // just outside, still rounds to the centre
        {3280, 5001},   {-3280, 4999},                // first values that leave the centre
        {16384, 7353},  {-16384, 2647},               // linear part, half way
        {31125, 9999},  {-31125, 1},                  // last values short of the ends
        {31129, 10000}, {-31129, 0},                  // saturation (95 %) reached
        {32767, 10000}, {-32767, 0},    {-32768, 0},  // ends
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ScaleAxis(static_cast<int16_t>(c.raw), kStick), c.expected) << "raw " << c.raw;
    }
}

TEST(AxisScaling, BothDirectionsMirrorAndNeverGoBackwards) {
    int32_t previous = ScaleAxis(-32767, kStick);
    for (int raw = -32767; raw <= 32767; ++raw) {
        const int32_t value = ScaleAxis(static_cast<int16_t>(raw), kStick);
        ASSERT_EQ(value, 10000 - ScaleAxis(static_cast<int16_t>(-raw), kStick)) << raw;
        ASSERT_GE(value, previous) << raw;
        ASSERT_GE(value, 0);
        ASSERT_LE(value, 10000);
        previous = value;
    }
}

TEST(AxisScaling, ThresholdsAreInclusive) {
    // A dead zone of the whole travel keeps even full deflection at the centre, although the
    // saturation is reached there too.
    EXPECT_EQ(ScaleAxis(32767, AxisScale{0, 10000, 10000, 10000}), 5000);
    // With no dead zone only the exact centre stays there.
    EXPECT_EQ(ScaleAxis(0, AxisScale{0, 10000, 0, 0}), 5000);
    EXPECT_EQ(ScaleAxis(1, AxisScale{0, 10000, 0, 0}), 10000);
    EXPECT_EQ(ScaleAxis(-1, AxisScale{0, 10000, 0, 0}), 0);
}

TEST(AxisScaling, DefaultAndOtherRanges) {
    const AxisScale unset{};  // 0..65535, no dead zone, no saturation
    EXPECT_EQ(ScaleAxis(-32768, unset), 0);
    EXPECT_EQ(ScaleAxis(0, unset), 32768);
    EXPECT_EQ(ScaleAxis(16384, unset), 49152);
    EXPECT_EQ(ScaleAxis(-16384, unset), 16383);
    EXPECT_EQ(ScaleAxis(32767, unset), 65535);

    const AxisScale negative{-1000, 1000, 0, 10000};
    EXPECT_EQ(ScaleAxis(-32768, negative), -1000);
    EXPECT_EQ(ScaleAxis(0, negative), 0);
    EXPECT_EQ(ScaleAxis(32767, negative), 1000);

    const AxisScale widest{INT32_MIN, INT32_MAX, 0, 10000};
    EXPECT_EQ(ScaleAxis(-32768, widest), INT32_MIN);
    EXPECT_EQ(ScaleAxis(32767, widest), INT32_MAX);
}

}  // namespace
}  // namespace vantrel
