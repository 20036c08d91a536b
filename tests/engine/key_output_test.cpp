#include "engine/key_output.h"

#include <gtest/gtest.h>

#include "support/fakes.h"

namespace vantrel {
namespace {

using testing::RecordingKeySender;

MainState DefaultKeys() {
    MainState s;
    s.key1 = "q";
    s.key2 = "a";
    s.key3 = "w";
    s.key4 = "s";
    s.key5 = "e";
    s.key6 = "d";
    s.key7 = "r";
    s.key8 = "f";
    s.keyr = "z";
    return s;
}

TEST(KeyOutput, NeutralLetsGoOfAllNineInKeyOrder) {
    MainState s = DefaultKeys();
    RecordingKeySender keys;
    SendGearKeys(s, keys);
    EXPECT_EQ(keys.sent, (std::vector<std::string>{"{q up}", "{a up}", "{w up}", "{s up}", "{e up}",
                                                   "{d up}", "{r up}", "{f up}", "{z up}"}));
}

TEST(KeyOutput, ReversePressesLastAndGearResets) {
    MainState s = DefaultKeys();
    s.currentgear = 9;
    RecordingKeySender keys;
    SendGearKeys(s, keys);
    ASSERT_EQ(keys.sent.size(), 9u);
    EXPECT_EQ(keys.sent.back(), "{z down}");
    EXPECT_EQ(keys.sent[0], "{q up}");
    EXPECT_EQ(s.currentgear, 0);
}

TEST(KeyOutput, DownshiftPressesTheNewKeyBeforeLettingGoOfTheOld) {
    MainState s = DefaultKeys();
    s.currentgear = 2;
    RecordingKeySender keys;
    SendGearKeys(s, keys);
    EXPECT_EQ(keys.sent[1], "{a down}");
    EXPECT_EQ(keys.sent[2], "{w up}");
}

TEST(KeyOutput, EmptyAndSharedKeyNamesPassVerbatim) {
    MainState s = DefaultKeys();
    s.key3 = "q";
    s.key5 = "";
    s.currentgear = 1;
    RecordingKeySender keys;
    SendGearKeys(s, keys);
    EXPECT_EQ(keys.sent[0], "{q down}");
    EXPECT_EQ(keys.sent[2], "{q up}") << "the shared key ends the pass let go";
    EXPECT_EQ(keys.sent[4], "{ up}");
}

TEST(KeyOutput, AFailingSendStopsThePass) {
    MainState s = DefaultKeys();
    s.currentgear = 3;
    RecordingKeySender keys;
    keys.FailOnCall(4);
    EXPECT_ANY_THROW(SendGearKeys(s, keys));
    EXPECT_EQ(keys.sent.size(), 3u);
}

}  // namespace
}  // namespace vantrel
