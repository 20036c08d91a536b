// Bookkeeping of held keys: only real changes reach the backend.

#include "services/keys/key_service.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "engine/key_output.h"
#include "keys/fake_key_backend.h"
#include "services/keys/live_key_services.h"

namespace vantrel {
namespace {

using testing::FakeKeyBackend;
using testing::FakeKeyLog;
using Events = std::vector<std::string>;

struct Fixture : ::testing::Test {
    std::shared_ptr<FakeKeyLog> log = std::make_shared<FakeKeyLog>();
    std::unique_ptr<KeyService> service =
        std::make_unique<KeyService>(std::make_unique<FakeKeyBackend>(log));
};

MainState DefaultKeys() {
    MainState s;
    s.key1 = "q", s.key2 = "a", s.key3 = "w", s.key4 = "s", s.key5 = "e";
    s.key6 = "d", s.key7 = "r", s.key8 = "f", s.keyr = "z";
    return s;
}

// Two passes per cycle (x and y), nine Send calls each, as the poll cycle makes them.
void PollCycle(MainState& s, KeySender& keys, int16_t gear) {
    for (int pass = 0; pass < 2; ++pass) {
        s.currentgear = gear;
        SendGearKeys(s, keys);
    }
}

using KeyServiceTest = Fixture;

TEST_F(KeyServiceTest, OnlyRealChangesReachTheBackend) {
    MainState s = DefaultKeys();
    PollCycle(s, *service, 0);
    EXPECT_EQ(log->events, Events{}) << "letting go of keys that are not held costs nothing";

    PollCycle(s, *service, 3);
    EXPECT_EQ(log->events, (Events{"down w"}));
    PollCycle(s, *service, 3);
    PollCycle(s, *service, 3);
    EXPECT_EQ(log->events, (Events{"down w"})) << "an unchanged cycle of 18 calls costs 0 events";

    // Down to gear 2: the new key goes down before the old one is let go (key order).
    PollCycle(s, *service, 2);
    EXPECT_EQ(log->events, (Events{"down w", "down a", "up w"}));
    // Back to neutral.
    PollCycle(s, *service, 0);
    EXPECT_EQ(log->events, (Events{"down w", "down a", "up w", "up a"}));
    EXPECT_EQ(service->HeldCount(), 0u);
}

TEST_F(KeyServiceTest, OneKeyForTwoGearsEndsThePassAsTheLastEventSays) {
    MainState s = DefaultKeys();
    s.key3 = "Q";  // gear 1 and gear 3 share a key, spelled differently
    s.currentgear = 3;
    SendGearKeys(s, *service);
    EXPECT_EQ(log->events, (Events{"down q"}));
    EXPECT_TRUE(service->IsHeld("q"));
    // The next pass lets go at position 1 and presses again at position 3.
    s.currentgear = 3;
    SendGearKeys(s, *service);
    EXPECT_EQ(log->events, (Events{"down q", "up q", "down q"}));
    s.currentgear = 1;
    SendGearKeys(s, *service);
    EXPECT_FALSE(service->IsHeld("q")) << "gear 1: q down at position 1, up at position 3";
}

TEST_F(KeyServiceTest, CaseAndAliasesNameTheSameHeldKey) {
    service->Send("{ESC down}", 0);
    service->Send("{escape down}", 0);
    EXPECT_EQ(log->events, (Events{"down ESC"}));
    service->Send("{Escape up}", 0);
    EXPECT_EQ(log->events, (Events{"down ESC", "up ESCAPE"}));
    EXPECT_FALSE(service->IsHeld("ESC"));
}

TEST_F(KeyServiceTest, UnknownEmptyOrMalformedTextSendsNothingAndRaisesNothing) {
    for (const char* text : {"{ down}", "{ up}", "{nosuchkey down}", "{q}", "q", "", "{q down}x"}) {
        EXPECT_NO_THROW(service->Send(text, 0)) << text;
    }
    EXPECT_EQ(log->events, Events{});
    EXPECT_EQ(service->HeldCount(), 0u);
}

TEST_F(KeyServiceTest, ReleaseAllAndTheDestructorLetGoOfEveryHeldKey) {
    service->Send("{q down}", 0);
    service->Send("{LSHIFT down}", 0);
    service->ReleaseAll();
    EXPECT_EQ(log->events, (Events{"down q", "down LSHIFT", "up q", "up LSHIFT"}));
    service->ReleaseAll();
    EXPECT_EQ(log->events.size(), 4u) << "nothing left to let go";

    service->Send("{F5 down}", 0);
    service.reset();
    EXPECT_EQ(log->events.back(), "up F5");
    EXPECT_EQ(log->destroyed, 1);
}

TEST_F(KeyServiceTest, BackendFailureBecomesServiceErrorNamingTheKey) {
    log->failPresses = true;
    try {
        service->Send("{q down}", 0);
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_EQ(e.number(), kErrorKeySendFailed);
        EXPECT_STREQ(e.what(), "Vantrel could not press the key q: the fake device is gone");
    }
    EXPECT_FALSE(service->IsHeld("q")) << "a failed press is not held";

    log->failPresses = false;
    service->Send("{q down}", 0);
    log->failReleases = true;
    EXPECT_THROW(service->Send("{q up}", 0), ServiceError);
    EXPECT_TRUE(service->IsHeld("q")) << "a failed release is tried again later";
    EXPECT_NO_THROW(service->ReleaseAll());
    EXPECT_TRUE(service->IsHeld("q"));
    log->failReleases = false;
    service->Send("{q up}", 0);
    EXPECT_FALSE(service->IsHeld("q"));
}

TEST_F(KeyServiceTest, ShutdownReleaseLetsGoAndIgnoresLaterPresses) {
    service->Send("{q down}", 0);
    live_key_services::ReleaseAllForShutdown();
    EXPECT_EQ(log->events, (Events{"down q", "up q"}));
    service->Send("{w down}", 0);
    EXPECT_EQ(log->events.size(), 2u) << "no key goes down once the process is ending";
}

// A release from another thread (the termination-signal path) while Send runs on the GUI thread:
// every press is either let go by the release or happens after it is over and is ignored.
TEST_F(KeyServiceTest, ShutdownReleaseFromAnotherThreadDuringSendsLeavesNothingHeld) {
    std::atomic<bool> stop{false};
    std::thread gui([&] {
        MainState s = DefaultKeys();
        for (int16_t gear = 0; !stop.load(); gear = int16_t((gear + 1) % 10)) {
            PollCycle(s, *service, gear);
        }
    });
    while (log->calls.load() < 100) std::this_thread::yield();
    service->ReleaseAllForShutdown(live_key_services::kShutdownWait);
    stop = true;
    gui.join();
    EXPECT_EQ(service->HeldCount(), 0u);
    const std::string last = log->events.back();
    EXPECT_EQ(last.rfind("up ", 0), 0u) << last;
}

}  // namespace
}  // namespace vantrel
