// The name table, the brace notation, the bookkeeping of held keys (only real changes reach the
// backend) and the factory's message when nothing works.

#include "services/keys/key_service.h"

#include <X11/XF86keysym.h>
#include <X11/keysym.h>
#include <gtest/gtest.h>
#include <linux/input-event-codes.h>

#include <set>
#include <tuple>

#include "engine/key_output.h"
#include "services/keys/key_event_text.h"
#include "services/keys/key_service_factory.h"
#include "services/service_error.h"

namespace vantrel {
namespace {

TEST(KeyNames, LookupIgnoresCaseAndAgreesWithTheSystemHeaders) {
    const std::tuple<const char*, int, unsigned long> spotChecks[] = {
        {"A", KEY_A, XK_a},
        {"NumPadEnter", KEY_KPENTER, XK_KP_Enter},
        {"esc", KEY_ESC, XK_Escape},
        {"lctrl", KEY_LEFTCTRL, XK_Control_L},
        {"VOLUME_MUTE", KEY_MUTE, XF86XK_AudioMute}};
    for (const auto& [spelling, evdev, keysym] : spotChecks) {
        const KeyName* k = FindKeyName(spelling);
        EXPECT_TRUE(k != nullptr && k->evdevCode == evdev && k->keysym == keysym) << spelling;
    }
    for (const char* name : {"", " ", "F25", "NUMPAD10", "SHIFT", " a", "aa", "{a}", "\xc3"}) {
        EXPECT_FALSE(IsKnownKeyName(name)) << '"' << name << '"';
    }
    // Every entry is found in lower case too, and different keys never share a code.
    std::set<int> codes;
    for (const KeyName& k : AllKeyNames()) {
        std::string lower(k.name);
        for (char& c : lower) c = (c >= 'A' && c <= 'Z') ? char(c - 'A' + 'a') : c;
        EXPECT_TRUE(FindKeyName(k.name) == &k && FindKeyName(lower) == &k) << k.name;
        EXPECT_TRUE(k.evdevCode > 0 && k.evdevCode < KEY_CNT && k.keysym != 0) << k.name;
        codes.insert(k.evdevCode);
    }
    EXPECT_EQ(codes.size(), AllKeyNames().size() - 4) << "only ESC, BS, DEL, INS have aliases";
}

TEST(KeyEventText, AcceptsOnlyNameDownOrNameUpInBraces) {
    const std::tuple<const char*, const char*, bool> accepted[] = {
        {"{q down}", "q", true}, {"{NumPad5 UP}", "NUMPAD5", false}, {"{UP down}", "UP", true}};
    for (const auto& [text, name, down] : accepted) {
        const auto event = ParseKeyEventText(text);
        EXPECT_TRUE(event && event->key->name == name && event->down == down) << text;
    }
    for (const char* text :
         {"", "{}", "{ down}", "{down}", "{q}", "{q press}", "{q down)", " {q down}", "{q down} ",
          "{q  down}", "{q down}{q up}", "{qq down}", "{q\tdown}", "{} up}"}) {
        EXPECT_FALSE(ParseKeyEventText(text)) << '"' << text << '"';
    }
}

using Events = std::vector<std::string>;

class FakeBackend final : public KeyBackend {
  public:
    FakeBackend(Events& events, bool& fail) : events_(events), fail_(fail) {}
    std::string_view Name() const override { return "fake"; }
    void Press(const KeyName& key) override { Record("down ", key); }
    void Release(const KeyName& key) override { Record("up ", key); }

  private:
    void Record(const char* what, const KeyName& key) {
        if (fail_) throw ServiceError(kErrorKeySendFailed, "the fake device is gone");
        events_.push_back(what + std::string(key.name));
    }
    Events& events_;
    bool& fail_;
};

struct KeyServiceTest : ::testing::Test {
    Events events;
    bool fail = false;
    std::unique_ptr<KeyService> service =
        std::make_unique<KeyService>(std::make_unique<FakeBackend>(events, fail));
};

TEST_F(KeyServiceTest, OnlyRealChangesReachTheBackendAndEverythingIsLetGoAtTheEnd) {
    MainState s;
    s.key1 = "q", s.key2 = "a", s.key3 = "w", s.key4 = "s", s.keyr = "z";
    // One poll cycle: two passes of nine Send calls each.
    auto cycle = [&](int16_t gear) {
        for (int pass = 0; pass < 2; ++pass) s.currentgear = gear, SendGearKeys(s, *service);
    };
    cycle(0);
    EXPECT_EQ(events, Events{}) << "letting go of keys that are not held costs nothing";
    for (int i = 0; i < 3; ++i) cycle(3);
    EXPECT_EQ(events, Events{"down w"}) << "an unchanged cycle of 18 calls costs 0 events";
    cycle(2);  // the new key goes down before the old one is let go (key order)
    EXPECT_EQ(events, (Events{"down w", "down a", "up w"}));

    // Case and aliases name the same held key; malformed or unknown text does nothing.
    for (const char* text : {"{ESC down}", "{escape down}", "{nosuchkey down}", "{q}", "{ up}"}) {
        service->Send(text, 0);
    }
    service->Send("{Escape up}", 0);
    EXPECT_EQ(events, (Events{"down w", "down a", "up w", "down ESC", "up ESCAPE"}));

    // ReleaseAll and the destructor let go of everything held.
    events.clear();
    service->Send("{F5 down}", 0);
    service->ReleaseAll();
    service->Send("{q down}", 0);
    service.reset();
    EXPECT_EQ(events, (Events{"down F5", "up a", "up F5", "down q", "up q"}));
}

TEST_F(KeyServiceTest, BackendFailureBecomesServiceErrorAndAFailedReleaseIsRetried) {
    fail = true;
    std::string what;
    try {
        service->Send("{q down}", 0);
    } catch (const ServiceError& e) {
        what = e.what();
    }
    EXPECT_EQ(what, "Vantrel could not press the key q: the fake device is gone");
    EXPECT_FALSE(service->IsHeld("q"));
    fail = false;
    service->Send("{q down}", 0);
    fail = true;
    EXPECT_THROW(service->Send("{q up}", 0), ServiceError);
    service->ReleaseAll();
    EXPECT_TRUE(service->IsHeld("q")) << "still down as far as anyone knows";
    fail = false;
    service->ReleaseAll();
    EXPECT_EQ(service->HeldCount(), 0u);
}

TEST(KeyServiceFactory, SaysWhatFailedAndWhatToDoWhenNothingWorks) {
    std::string message;
    const KeyServiceOptions options{
        .backend = "", .uinputPath = "/nonexistent/uinput", .displayName = ":987"};
    EXPECT_EQ(CreateKeyService(options, message), nullptr);
    EXPECT_EQ(message.rfind("Vantrel cannot send keys:\n", 0), 0u) << message;
    for (const char* part : {"- uinput virtual keyboard: cannot open", "modprobe uinput",
                             "- XTest: cannot connect to the X display \":987\"", "usermod -aG"}) {
        EXPECT_NE(message.find(part), std::string::npos) << part << " in " << message;
    }
}

}  // namespace
}  // namespace vantrel
