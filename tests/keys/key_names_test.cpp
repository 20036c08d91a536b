// The name table and the brace notation.

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <string>

#include "services/keys/key_event_text.h"
#include "services/keys/key_names.h"

namespace vantrel {
namespace {

TEST(KeyNames, MatchWithoutRegardToCaseAndAliasesShareTheKey) {
    for (const char* spelling : {"a", "A"}) {
        const KeyName* k = FindKeyName(spelling);
        ASSERT_NE(k, nullptr) << spelling;
        EXPECT_EQ(k->evdevCode, KEY_A);
        EXPECT_EQ(k->keysym, uint32_t{XK_a});
    }
    for (const char* spelling : {"numpadenter", "NumPadEnter", "NUMPADENTER"}) {
        ASSERT_NE(FindKeyName(spelling), nullptr) << spelling;
        EXPECT_EQ(FindKeyName(spelling)->name, "NUMPADENTER");
    }
    const std::pair<const char*, const char*> aliases[] = {
        {"ESC", "ESCAPE"}, {"BS", "BACKSPACE"}, {"DEL", "DELETE"}, {"INS", "INSERT"}};
    for (const auto& [a, b] : aliases) {
        ASSERT_NE(FindKeyName(a), nullptr);
        ASSERT_NE(FindKeyName(b), nullptr);
        EXPECT_EQ(FindKeyName(a)->evdevCode, FindKeyName(b)->evdevCode) << a;
        EXPECT_EQ(FindKeyName(a)->keysym, FindKeyName(b)->keysym) << a;
    }
}

TEST(KeyNames, UnknownEmptyAndNearMissesAreNotKeys) {
    for (const char* name : {"", " ", "F25", "F0", "NUMPAD10", "SHIFT", "a ", " a", "aa", "{a}",
                             "VOLUME MUTE", "Ä", "\xc3"}) {
        EXPECT_FALSE(IsKnownKeyName(name)) << '"' << name << '"';
    }
    // Every entry is found under its own spelling and in lower case.
    for (const KeyName& k : AllKeyNames()) {
        std::string lower(k.name);
        for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        EXPECT_EQ(FindKeyName(k.name), &k) << k.name;
        ASSERT_NE(FindKeyName(lower), nullptr) << lower;
        EXPECT_EQ(FindKeyName(lower)->name, k.name);
    }
}

// The numbers in the table are checked against the system's own headers, name by name.
TEST(KeyNames, CodesAgreeWithTheLinuxAndX11Headers) {
    struct Expected {
        const char* name;
        int evdev;
        unsigned long keysym;
    };
    const Expected expected[] = {
        {"q", KEY_Q, XK_q},
        {"0", KEY_0, XK_0},
        {"9", KEY_9, XK_9},
        {"-", KEY_MINUS, XK_minus},
        {"=", KEY_EQUAL, XK_equal},
        {"[", KEY_LEFTBRACE, XK_bracketleft},
        {"]", KEY_RIGHTBRACE, XK_bracketright},
        {";", KEY_SEMICOLON, XK_semicolon},
        {"'", KEY_APOSTROPHE, XK_apostrophe},
        {"`", KEY_GRAVE, XK_grave},
        {"\\", KEY_BACKSLASH, XK_backslash},
        {",", KEY_COMMA, XK_comma},
        {".", KEY_DOT, XK_period},
        {"/", KEY_SLASH, XK_slash},
        {"SPACE", KEY_SPACE, XK_space},
        {"ENTER", KEY_ENTER, XK_Return},
        {"TAB", KEY_TAB, XK_Tab},
        {"ESC", KEY_ESC, XK_Escape},
        {"BACKSPACE", KEY_BACKSPACE, XK_BackSpace},
        {"DELETE", KEY_DELETE, XK_Delete},
        {"INSERT", KEY_INSERT, XK_Insert},
        {"HOME", KEY_HOME, XK_Home},
        {"END", KEY_END, XK_End},
        {"PGUP", KEY_PAGEUP, XK_Page_Up},
        {"PGDN", KEY_PAGEDOWN, XK_Page_Down},
        {"UP", KEY_UP, XK_Up},
        {"DOWN", KEY_DOWN, XK_Down},
        {"LEFT", KEY_LEFT, XK_Left},
        {"RIGHT", KEY_RIGHT, XK_Right},
        {"F1", KEY_F1, XK_F1},
        {"F10", KEY_F10, XK_F10},
        {"F11", KEY_F11, XK_F11},
        {"F12", KEY_F12, XK_F12},
        {"F13", KEY_F13, XK_F13},
        {"F24", KEY_F24, XK_F24},
        {"NUMPAD0", KEY_KP0, XK_KP_0},
        {"NUMPAD1", KEY_KP1, XK_KP_1},
        {"NUMPAD5", KEY_KP5, XK_KP_5},
        {"NUMPAD9", KEY_KP9, XK_KP_9},
        {"NUMPADMULT", KEY_KPASTERISK, XK_KP_Multiply},
        {"NUMPADADD", KEY_KPPLUS, XK_KP_Add},
        {"NUMPADSUB", KEY_KPMINUS, XK_KP_Subtract},
        {"NUMPADDIV", KEY_KPSLASH, XK_KP_Divide},
        {"NUMPADDOT", KEY_KPDOT, XK_KP_Decimal},
        {"NUMPADENTER", KEY_KPENTER, XK_KP_Enter},
        {"LSHIFT", KEY_LEFTSHIFT, XK_Shift_L},
        {"RSHIFT", KEY_RIGHTSHIFT, XK_Shift_R},
        {"LCTRL", KEY_LEFTCTRL, XK_Control_L},
        {"RCTRL", KEY_RIGHTCTRL, XK_Control_R},
        {"LALT", KEY_LEFTALT, XK_Alt_L},
        {"RALT", KEY_RIGHTALT, XK_Alt_R},
        {"LWIN", KEY_LEFTMETA, XK_Super_L},
        {"RWIN", KEY_RIGHTMETA, XK_Super_R},
        {"APPSKEY", KEY_COMPOSE, XK_Menu},
        {"CAPSLOCK", KEY_CAPSLOCK, XK_Caps_Lock},
        {"NUMLOCK", KEY_NUMLOCK, XK_Num_Lock},
        {"SCROLLLOCK", KEY_SCROLLLOCK, XK_Scroll_Lock},
        {"PAUSE", KEY_PAUSE, XK_Pause},
        {"PRINTSCREEN", KEY_SYSRQ, XK_Print},
        {"VOLUME_MUTE", KEY_MUTE, XF86XK_AudioMute},
        {"VOLUME_DOWN", KEY_VOLUMEDOWN, XF86XK_AudioLowerVolume},
        {"VOLUME_UP", KEY_VOLUMEUP, XF86XK_AudioRaiseVolume},
        {"MEDIA_NEXT", KEY_NEXTSONG, XF86XK_AudioNext},
        {"MEDIA_PREV", KEY_PREVIOUSSONG, XF86XK_AudioPrev},
        {"MEDIA_STOP", KEY_STOPCD, XF86XK_AudioStop},
        {"MEDIA_PLAY_PAUSE", KEY_PLAYPAUSE, XF86XK_AudioPlay},
        {"BROWSER_BACK", KEY_BACK, XF86XK_Back},
        {"BROWSER_FORWARD", KEY_FORWARD, XF86XK_Forward},
        {"BROWSER_REFRESH", KEY_REFRESH, XF86XK_Reload},
        {"BROWSER_STOP", KEY_STOP, XK_Cancel},
        {"BROWSER_SEARCH", KEY_SEARCH, XF86XK_Search},
        {"BROWSER_FAVORITES", KEY_BOOKMARKS, XF86XK_Favorites},
        {"BROWSER_HOME", KEY_HOMEPAGE, XF86XK_HomePage},
        {"LAUNCH_MAIL", KEY_MAIL, XF86XK_Mail},
        {"LAUNCH_MEDIA", KEY_MEDIA, XF86XK_AudioMedia},
        {"LAUNCH_APP1", KEY_COMPUTER, XF86XK_MyComputer},
        {"LAUNCH_APP2", KEY_CALC, XF86XK_Calculator},
    };
    for (const Expected& e : expected) {
        const KeyName* k = FindKeyName(e.name);
        ASSERT_NE(k, nullptr) << e.name;
        EXPECT_EQ(k->evdevCode, e.evdev) << e.name;
        EXPECT_EQ(k->keysym, e.keysym) << e.name;
    }
    // The rest of the families follow the same pattern.
    for (int i = 1; i <= 24; ++i) {
        const KeyName* k = FindKeyName("F" + std::to_string(i));
        ASSERT_NE(k, nullptr) << i;
        EXPECT_EQ(k->keysym, XK_F1 + unsigned(i - 1)) << i;
        const int evdev = i <= 10 ? KEY_F1 + i - 1 : i <= 12 ? KEY_F11 + i - 11 : KEY_F13 + i - 13;
        EXPECT_EQ(k->evdevCode, evdev) << i;
    }
    const int keypad[] = {KEY_KP0, KEY_KP1, KEY_KP2, KEY_KP3, KEY_KP4,
                          KEY_KP5, KEY_KP6, KEY_KP7, KEY_KP8, KEY_KP9};
    for (int i = 0; i <= 9; ++i) {
        const KeyName* k = FindKeyName("NUMPAD" + std::to_string(i));
        ASSERT_NE(k, nullptr) << i;
        EXPECT_EQ(k->evdevCode, keypad[i]);
        EXPECT_EQ(k->keysym, XK_KP_0 + unsigned(i));
    }
    for (char c = 'a'; c <= 'z'; ++c) {
        ASSERT_NE(FindKeyName(std::string(1, c)), nullptr) << c;
        EXPECT_EQ(FindKeyName(std::string(1, c))->keysym, uint32_t(c));
    }
    // Different keys never share a code: two names with one code must be aliases.
    std::set<int> codes;
    for (const KeyName& k : AllKeyNames()) {
        EXPECT_GT(k.evdevCode, 0) << k.name;
        EXPECT_LT(k.evdevCode, KEY_CNT) << k.name;
        codes.insert(k.evdevCode);
    }
    EXPECT_EQ(codes.size(), AllKeyNames().size() - 4) << "only the four aliases share a code";
}

TEST(KeyEventText, ReadsDownAndUpInTheBraceNotation) {
    auto down = ParseKeyEventText("{q down}");
    ASSERT_TRUE(down);
    EXPECT_EQ(down->key->name, "q");
    EXPECT_TRUE(down->down);

    auto up = ParseKeyEventText("{NumPad5 UP}");
    ASSERT_TRUE(up);
    EXPECT_EQ(up->key->name, "NUMPAD5");
    EXPECT_FALSE(up->down);

    // Names that are themselves words of the notation or punctuation.
    ASSERT_TRUE(ParseKeyEventText("{UP down}"));
    EXPECT_EQ(ParseKeyEventText("{UP down}")->key->name, "UP");
    ASSERT_TRUE(ParseKeyEventText("{DOWN up}"));
    EXPECT_EQ(ParseKeyEventText("{DOWN up}")->key->name, "DOWN");
    ASSERT_TRUE(ParseKeyEventText("{; down}"));
    ASSERT_TRUE(ParseKeyEventText("{\\ up}"));
}

TEST(KeyEventText, AnythingElseIsNoEvent) {
    for (const char* text : {"",          "{",         "}",          "{}",
                             "{ down}",   "{ up}",     "{down}",     "{q}",
                             "{q press}", "{q down",   "q down}",    " {q down}",
                             "{q down} ", "{q  down}", "{ q down}",  "{q down}{q up}",
                             "{q downx}", "{qq down}", "{F25 down}", "q",
                             "{q\tdown}", "{{ down}",  "{} up}"}) {
        EXPECT_FALSE(ParseKeyEventText(text)) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace vantrel
