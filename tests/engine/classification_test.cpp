// The per-pass decision and the keys it sends: each field selects its gear, and every pass
// decides on the stick position of the pass before it.
#include "engine/classification.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <utility>

#include "doubles/default_settings.h"
#include "doubles/key_outputs.h"
#include "engine/gear_key_output.h"

namespace vantrel {
namespace {

using testing::DefaultSettings;
using Texts = std::vector<std::string>;

ControllerReport At(int32_t x, int32_t y, bool button1 = false) {
    ControllerReport r;
    r.axis(AxisSlot::X) = x;
    r.axis(AxisSlot::Y) = y;
    r.buttons[0] = button1;
    return r;
}

TEST(Classification, DecisionLagsOnePassBehindTheStickAndEachPassSendsAllNineKeys) {
    ShiftState s = DefaultSettings();
    testing::RecordingKeyOutput keys;
    const auto pass = [&](int32_t x, int32_t y) {
        keys.sent.clear();
        ClassifyPass(s, At(x, y));
        SendGearKeys(s, keys);
        return keys.sent;
    };
    EXPECT_EQ(pass(0, 0), (Texts{"{q up}", "{a up}", "{w up}", "{s up}", "{e up}", "{d up}",
                                 "{r up}", "{f up}", "{z up}"}))
        << "the first pass after start holds no key, even in gear 1's field";
    EXPECT_EQ(pass(3000, 0)[0], "{q down}") << "still gear 1 from the pass before";
    const Texts third = pass(5000, 5000);  // the new key goes down before the old one is let go
    EXPECT_EQ(Texts(third.begin(), third.begin() + 3), (Texts{"{q up}", "{a up}", "{w down}"}));
    const Texts neutral = pass(5000, 5000);
    EXPECT_TRUE(std::none_of(neutral.begin(), neutral.end(),
                             [](const std::string& t) { return t.ends_with("down}"); }));
}

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
        ShiftState s = DefaultSettings();
        const ControllerReport j = At(c.x, c.y, c.button);
        ClassifyPass(s, j);  // the second pass decides on the zones of the first
        s.currentGear = 0;
        ClassifyPass(s, j);
        EXPECT_EQ(s.currentGear, c.gear) << c.x << "," << c.y;
    }
}

}  // namespace
}  // namespace vantrel
