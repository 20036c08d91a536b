#include <gtest/gtest.h>

#include "settings/ui/gate_fields.h"
#include "settings/ui/number_text.h"

namespace vantrel::ui {
namespace {

TEST(FieldNumberTest, ReadsDecimalNumbersOnly) {
    EXPECT_EQ(ParseFieldNumber("100"), 100.0f);
    EXPECT_EQ(ParseFieldNumber(" 0100\t"), 100.0f);
    EXPECT_EQ(ParseFieldNumber("+20"), 20.0f);
    EXPECT_EQ(ParseFieldNumber("-20"), -20.0f);
    EXPECT_EQ(ParseFieldNumber("2000.5"), 2000.5f);
    EXPECT_EQ(ParseFieldNumber("1e3"), 1000.0f);
    for (const char* bad : {"", " ", "abc", "100abc", "1,5", "+-1", "--1", "nan", "inf", "1e50"}) {
        EXPECT_FALSE(ParseFieldNumber(bad)) << bad;
    }
}

TEST(FieldNumberTest, WritesTheShortestTextWithSevenDigitsAtMost) {
    EXPECT_EQ(FieldNumberText(2020), "2020");
    EXPECT_EQ(FieldNumberText(-20), "-20");
    EXPECT_EQ(FieldNumberText(-0.0f), "0");
    EXPECT_EQ(FieldNumberText(10000), "10000");
    EXPECT_EQ(FieldNumberText(100.5f), "100.5");
    EXPECT_EQ(FieldNumberText(0.1f), "0.1");
    EXPECT_EQ(FieldNumberText(1234567), "1234567");
    EXPECT_EQ(FieldNumberText(100.3f + 20), "120.3");  // float noise stays below 7 digits
    EXPECT_EQ(FieldNumberText(12345678), "1.234568e+07");
}

const GateValues kDefaults = {100, 2000, 4000, 6000, 8000, 9900, 100, 9800};

DIJOYSTATE Stick(int x, int y, bool button1 = false) {
    DIJOYSTATE state;
    state.x = x;
    state.y = y;
    state.buttons[0] = button1 ? 1 : 0;
    return state;
}

TEST(GateTest, StickGearIsTheEnginesSettledDecision) {
    EXPECT_EQ(StickGear(kDefaults, Stick(100, 100)), 1);  // inclusive edges
    EXPECT_EQ(StickGear(kDefaults, Stick(100, 100, true)), 9);
    EXPECT_EQ(StickGear(kDefaults, Stick(0, 10000)), 2);
    EXPECT_EQ(StickGear(kDefaults, Stick(8000, 9800)), 6);
    EXPECT_EQ(StickGear(kDefaults, Stick(10000, 9800)), 8);
    EXPECT_EQ(StickGear(kDefaults, Stick(1000, 50)), 0);
    EXPECT_EQ(StickGear(kDefaults, Stick(3000, 5000)), 0);

    // Boundaries count as the loader will read them once saved: 2000.5 loads as 2000.
    GateValues values = kDefaults;
    values[1] = 2000.5f;
    EXPECT_EQ(StickGear(values, Stick(2000, 50)), 3);
    // gtop = gbot: both rows match and the bottom row wins, as in the engine.
    values[6] = values[7] = 5000;
    EXPECT_EQ(StickGear(values, Stick(3000, 5000)), 4);
}

TEST(GateTest, FieldRegionsLieWithinTheTravel) {
    EXPECT_EQ(FieldRegion(kDefaults, 1), QRectF(0, 0, 100, 100));
    EXPECT_EQ(FieldRegion(kDefaults, 4), QRectF(2000, 9800, 2000, 200));
    EXPECT_EQ(FieldRegion(kDefaults, 7), QRectF(9900, 0, 100, 100));

    GateValues crossed = kDefaults;
    crossed[1] = 4100;  // g34l beyond g34r: fields 3 and 4 cannot be reached
    EXPECT_FALSE(FieldRegion(crossed, 3));
    EXPECT_FALSE(FieldRegion(crossed, 4));
    crossed[0] = -20;  // left of the travel: gears 1 and 2 cannot be reached
    EXPECT_FALSE(FieldRegion(crossed, 1));
    EXPECT_TRUE(FieldRegion(crossed, 5));
}

}  // namespace
}  // namespace vantrel::ui
