#include "engine/key_output.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::RecordingKeySender;
using Texts = std::vector<std::string>;

TEST(KeyOutput, NineTextsInKeyOrderWithTheGearsKeyDownThenTheGearResets) {
    MainState s = testing::DefaultSettings();
    const auto pass = [&](int16_t gear) {
        RecordingKeySender keys;
        s.currentgear = gear;
        SendGearKeys(s, keys);
        EXPECT_EQ(s.currentgear, 0) << gear;
        return keys.sent;
    };
    EXPECT_EQ(pass(0), (Texts{"{q up}", "{a up}", "{w up}", "{s up}", "{e up}", "{d up}", "{r up}",
                              "{f up}", "{z up}"}));
    const Texts down2 = pass(2);  // from gear 3: the new key goes down before the old one is let go
    EXPECT_EQ(Texts(down2.begin(), down2.begin() + 3), (Texts{"{q up}", "{a down}", "{w up}"}));
    const Texts reverse = pass(9);
    EXPECT_EQ(reverse.size(), 9u);
    EXPECT_EQ(reverse.back(), "{z down}");
}

TEST(KeyOutput, NamesPassVerbatimAndAFailedSendStopsThePass) {
    MainState s = testing::DefaultSettings();
    s.key3 = "q";  // shared with gear 1
    s.key5 = "";
    s.currentgear = 1;
    RecordingKeySender keys;
    SendGearKeys(s, keys);
    EXPECT_EQ(keys.sent[0], "{q down}");
    EXPECT_EQ(keys.sent[2], "{q up}") << "the shared key ends the pass let go";
    EXPECT_EQ(keys.sent[4], "{ up}");

    keys.sent.clear();
    keys.FailOnCall(4);
    s.currentgear = 3;
    EXPECT_ANY_THROW(SendGearKeys(s, keys));
    EXPECT_EQ(keys.sent.size(), 3u);
}

}  // namespace
}  // namespace vantrel
