#include "engine/classification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "engine/key_output.h"
#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::DefaultSettings;

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
    return std::exchange(s.currentgear, 0);
}

// Each pass decides on the stick position of the pass before, from the very first pass on.
TEST(Classification, DecisionLagsOnePassBehindTheStick) {
    MainState s = DefaultSettings();
    testing::RecordingKeySender keys;
    const auto pass = [&](int32_t x, int32_t y) {
        keys.sent.clear();
        ClassifyPass(s, At(x, y));
        SendGearKeys(s, keys);
        return std::count_if(keys.sent.begin(), keys.sent.end(),
                             [](const std::string& t) { return t.ends_with("down}"); });
    };
    EXPECT_EQ(pass(0, 0), 0) << "the first pass after start holds no key, even in gear 1's field";
    EXPECT_EQ(pass(3000, 0), 1);
    EXPECT_EQ(keys.sent[0], "{q down}") << "still gear 1 from the pass before";
    EXPECT_EQ(pass(5000, 5000), 1);
    EXPECT_EQ(keys.sent[2], "{w down}");
    EXPECT_EQ(pass(5000, 5000), 0);
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
        MainState s = DefaultSettings();
        EXPECT_EQ(Settle(s, At(c.x, c.y, c.button)), c.gear) << c.x << "," << c.y;
    }
}

TEST(Classification, OverlapsFavourTheHigherFieldAndBoundariesCompareSigned) {
    MainState s = DefaultSettings();
    s.geartop = 5000;
    s.gearbot = 5000;
    EXPECT_EQ(Settle(s, At(0, 5000)), 2) << "both rows: bottom gear wins";
    EXPECT_EQ(Settle(s, At(0, 5000, true)), 9) << "reverse wins over everything";

    MainState overlap = DefaultSettings();
    overlap.gear34l = 50;  // column 3/4 reaches into column 1/2
    EXPECT_EQ(Settle(overlap, At(80, 0)), 3);

    MainState outside = DefaultSettings();
    outside.gear12r = -1;  // boundaries outside the travel make their fields unreachable
    outside.gear78l = 10001;
    outside.geartop = -20;
    EXPECT_EQ(Settle(outside, At(10000, 10000)), 0);
    EXPECT_EQ(Settle(outside, At(2000, 0)), 0);
    EXPECT_EQ(Settle(outside, At(2000, -20)), 3);
    EXPECT_EQ(Settle(outside, At(0, -20, true)), 0);
}

}  // namespace
}  // namespace vantrel
