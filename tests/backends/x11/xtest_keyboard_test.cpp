// The XTest backend end to end under Xvfb, watched through a second X connection. (The ways out of
// the process: the shifter's tests, which share the release, and the whole program's.)

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "backends/x11/xtest_keyboard.h"

#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <signal.h>

#include <cstdio>

#include "doubles/key_outputs.h"
#include "output/key_service.h"
#include "ports/service_error.h"
#include "support/x_observer.h"

namespace vantrel {
namespace {

struct XTestKeys : ::testing::Test {
    testing::XObserver x;  // a second X client
    void SetUp() override { ASSERT_TRUE(x.ok()) << "run under Xvfb (tests/support/with-xvfb.sh)"; }
    KeyCode KeycodeOf(KeySym keysym) { return x.KeycodeOf(keysym); }
    bool WaitFor(KeySym keysym, bool down) { return x.WaitFor(x.KeycodeOf(keysym), down); }
};

// F13 is not in Xvfb's keymap: it gets a free keycode for as long as it is held.
TEST_F(XTestKeys, HeldWhileDownAndLetGoAfterUpEvenWhenMissingFromTheKeymap) {
    ASSERT_EQ(KeycodeOf(XK_F13), 0) << "Xvfb's keymap was expected to lack F13";
    auto* backend = new XTestBackend();
    auto service = std::make_unique<KeyService>(std::unique_ptr<KeyBackend>(backend));
    for (const char* name : {"q", "LSHIFT", "F13"}) testing::KeyDown(*service, name);
    XSync(backend->display(), False);
    EXPECT_TRUE(WaitFor(XK_q, true) && WaitFor(XK_Shift_L, true) && WaitFor(XK_F13, true));
    testing::KeyUp(*service, "q");
    testing::KeyUp(*service, "F13");
    XSync(backend->display(), False);
    EXPECT_EQ(KeycodeOf(XK_F13), 0) << "the keycode lent to F13 is free again";
    EXPECT_TRUE(WaitFor(XK_q, false) && WaitFor(XK_Shift_L, true)) << "the other keys stay down";
    service.reset();  // the destructor lets go of the rest
    EXPECT_TRUE(WaitFor(XK_Shift_L, false));
}

// Xlib's default handlers end the process on an X error or a lost connection.
TEST_F(XTestKeys, XErrorsAndALostConnectionDoNotEndTheProcess) {
    {
        auto* backend = new XTestBackend();
        KeyService service{std::unique_ptr<KeyBackend>(backend)};
        // Keycode 1 is below every keymap's range: the server answers BadValue.
        XTestFakeKeyEvent(backend->display(), 1, True, CurrentTime);
        XSync(backend->display(), False);
        EXPECT_EQ(backend->errorCount(), 1);
        testing::KeyDown(service, "w");
        EXPECT_TRUE(WaitFor(XK_w, true)) << "still working";
    }
    // A private X server, stopped while a key is held.
    FILE* server = popen("echo $$; exec Xvfb -displayfd 1 -nolisten tcp 2>/dev/null", "r");
    int pid = 0, number = 0;
    ASSERT_EQ(std::fscanf(server, "%d %d", &pid, &number), 2) << "could not start Xvfb";
    const std::string name = ":" + std::to_string(number);
    KeyService service{std::make_unique<XTestBackend>(name.c_str())};
    testing::KeyDown(service, "q");
    kill(pid, SIGTERM);
    pclose(server);
    // The loss may only show on the next request.
    EXPECT_THROW((testing::KeyUp(service, "q"), testing::KeyDown(service, "w")), ServiceError);
    service.ReleaseAll();  // must neither throw nor end the process
}

}  // namespace
}  // namespace vantrel
