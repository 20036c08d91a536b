#include "engine/classification.h"

#include <gtest/gtest.h>

namespace vantrel {
namespace {

MainState DefaultGate() {
    MainState s;
    s.gear12r = 100;
    s.gear34l = 2000;
    s.gear34r = 4000;
    s.gear56l = 6000;
    s.gear56r = 8000;
    s.gear78l = 9900;
    s.geartop = 100;
    s.gearbot = 9800;
    return s;
}

DIJOYSTATE At(int32_t x, int32_t y, bool button1 = false) {
    DIJOYSTATE j;
    j.x = x;
    j.y = y;
    j.buttons[0] = button1 ? 0x80 : 0;
    return j;
}

// Two passes on the same record: the second decides on the flags of the first.
int16_t Settle(MainState& s, const DIJOYSTATE& j) {
    ClassifyPass(s, j);
    s.currentgear = 0;
    ClassifyPass(s, j);
    const int16_t gear = s.currentgear;
    s.currentgear = 0;
    return gear;
}

TEST(Classification, FirstPassAfterStartIsNeutralWherever) {
    MainState s = DefaultGate();
    ClassifyPass(s, At(0, 0));
    EXPECT_EQ(s.currentgear, 0);
    for (int i = 1; i <= 9; ++i) EXPECT_EQ(s.gearsum[i], 0);
    EXPECT_EQ(s.links, 1);
    EXPECT_EQ(s.boven, 1);
}

TEST(Classification, EachFieldSelectsItsGearWithInclusiveBounds) {
    struct Case {
        int32_t x, y;
        bool button;
        int16_t gear;
    };
    const Case cases[] = {
        {0, 0, false, 1},        {100, 100, false, 1},   {100, 100, true, 9},
        {0, 10000, false, 2},    {100, 9800, true, 2},   {2000, 100, false, 3},
        {4000, 0, false, 3},     {3000, 9800, false, 4}, {6000, 0, false, 5},
        {8000, 10000, false, 6}, {9900, 100, true, 7},   {10000, 9800, false, 8},
        {1000, 0, false, 0},     {5000, 0, false, 0},    {9000, 10000, false, 0},
        {101, 0, false, 0},      {3000, 5000, false, 0}, {0, 101, false, 0},
        {0, 9799, false, 0},
    };
    for (const Case& c : cases) {
        MainState s = DefaultGate();
        EXPECT_EQ(Settle(s, At(c.x, c.y, c.button)), c.gear) << c.x << "," << c.y;
    }
}

TEST(Classification, DecisionLagsOnePassBehindTheRecord) {
    MainState s = DefaultGate();
    Settle(s, At(3000, 0));  // gear 3
    ClassifyPass(s, At(5000, 5000));
    EXPECT_EQ(s.currentgear, 3) << "first pass still sees the old flags";
    s.currentgear = 0;
    ClassifyPass(s, At(5000, 5000));
    EXPECT_EQ(s.currentgear, 0);
}

TEST(Classification, TieBreaksFavourTheHigherField) {
    MainState s = DefaultGate();
    s.geartop = 5000;
    s.gearbot = 5000;
    EXPECT_EQ(Settle(s, At(0, 5000)), 2) << "both rows: bottom gear wins";
    EXPECT_EQ(Settle(s, At(0, 5000, true)), 9) << "reverse wins over everything";

    MainState overlap = DefaultGate();
    overlap.gear34l = 50;  // column 3/4 reaches into column 1/2
    EXPECT_EQ(Settle(overlap, At(80, 0)), 3);
}

TEST(Classification, SumsOfARestingStick) {
    MainState s = DefaultGate();
    Settle(s, At(3000, 10000));
    ClassifyPass(s, At(3000, 10000));
    EXPECT_EQ(s.gearsum[4], 3);
    EXPECT_EQ(s.gearsum[3], 2);
    EXPECT_EQ(s.currentgear, 4);
}

TEST(Classification, BoundariesOutsideTheRangeMakeFieldsUnreachable) {
    MainState s = DefaultGate();
    s.gear12r = -1;
    s.gear78l = 10001;
    EXPECT_EQ(Settle(s, At(0, 0, true)), 0);
    EXPECT_EQ(Settle(s, At(10000, 10000)), 0);
}

TEST(Classification, NegativeBoundariesCompareSigned) {
    MainState s = DefaultGate();
    s.geartop = -20;
    EXPECT_EQ(Settle(s, At(0, 0)), 0);
    EXPECT_EQ(Settle(s, At(0, -20)), 1);
}

}  // namespace
}  // namespace vantrel
