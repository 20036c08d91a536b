// Each field selects its gear, bounds included; a pass decides on the zones of the pass before.
// (Key order and the lag in full: the replay corpus.)
#include "engine/classification.h"

#include <gtest/gtest.h>

#include "doubles/default_settings.h"
#include "doubles/fake_controller.h"

namespace vantrel {
namespace {

TEST(Classification, EachFieldSelectsItsGearWithInclusiveBounds) {
    struct Case {
        int32_t x, y;
        bool button;
        int gear;
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
        ShiftState s = testing::DefaultSettings();
        const ControllerReport j =
            c.button ? testing::StickAt(c.x, c.y, {1}) : testing::StickAt(c.x, c.y);
        ClassifyPass(s, j);  // the second pass decides on the zones of the first
        s.currentGear = 0;
        ClassifyPass(s, j);
        EXPECT_EQ(s.currentGear, c.gear) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace vantrel
