// The XTest backend end to end under Xvfb, watched through a second X connection.

// GoogleTest before Xlib, whose macros (None, Bool) clash with its names.
#include <gtest/gtest.h>

#include "services/keys/xtest_backend.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <X11/keysym.h>
#include <fcntl.h>
#include <linux/input-event-codes.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <string>

#include "keys/x_observer.h"
#include "services/keys/key_service.h"
#include "services/keys/key_service_factory.h"
#include "services/service_error.h"

namespace vantrel {
namespace {

using testing::XObserver;

class XTestBackendTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(observer.ok()) << "these tests run under Xvfb (tests/support/with-xvfb.sh)";
        backend = new XTestBackend();
        service = std::make_unique<KeyService>(std::unique_ptr<KeyBackend>(backend));
    }
    void TearDown() override {
        service.reset();
        for (KeyCode k : filled) observer.SetKeysym(k, NoSymbol);
    }
    // Waits until the server has handled everything the backend sent.
    void SyncBackend() { XSync(backend->display(), False); }

    XObserver observer;
    XTestBackend* backend = nullptr;  // owned by the service
    std::unique_ptr<KeyService> service;
    std::vector<KeyCode> filled;  // keycodes this test gave a keysym, cleared afterwards
};

TEST_F(XTestBackendTest, KeyIsHeldWhileDownAndLetGoAfterUp) {
    const KeyCode q = observer.KeycodeOf(XK_q);
    const KeyCode shift = observer.KeycodeOf(XK_Shift_L);
    const KeyCode kpEnter = observer.KeycodeOf(XK_KP_Enter);
    ASSERT_NE(q, 0);
    service->Send("{q down}", 0);
    service->Send("{LSHIFT down}", 0);
    service->Send("{NumpadEnter down}", 0);
    EXPECT_TRUE(observer.WaitFor(q, true));
    EXPECT_TRUE(observer.WaitFor(shift, true));
    EXPECT_TRUE(observer.WaitFor(kpEnter, true));

    service->Send("{q up}", 0);
    EXPECT_TRUE(observer.WaitFor(q, false));
    SyncBackend();
    EXPECT_TRUE(observer.IsDown(shift)) << "the other keys stay down";

    service.reset();  // the destructor lets go of the rest
    EXPECT_TRUE(observer.WaitFor(shift, false));
    EXPECT_TRUE(observer.WaitFor(kpEnter, false));
}

// KP_Decimal sits on two keys of the standard keymap; the one uinput would press is chosen.
TEST_F(XTestBackendTest, TheKeyOfTheSameEvdevCodeIsPreferred) {
    const KeyCode kpDot = KEY_KPDOT + 8;
    service->Send("{NUMPADDOT down}", 0);
    EXPECT_TRUE(observer.WaitFor(kpDot, true));
    service->Send("{NUMPADDOT up}", 0);
    EXPECT_TRUE(observer.WaitFor(kpDot, false));
}

// F13 has no keycode in the standard keymap: it gets a free keycode for as long as it is held.
TEST_F(XTestBackendTest, KeyMissingFromTheKeymapGetsAFreeKeycodeWhileHeld) {
    ASSERT_EQ(observer.KeycodeOf(XK_F13), 0) << "Xvfb's keymap was expected to lack F13";
    service->Send("{F13 down}", 0);
    SyncBackend();
    const KeyCode bound = observer.KeycodeOf(XK_F13);
    ASSERT_NE(bound, 0);
    EXPECT_TRUE(observer.WaitFor(bound, true));

    service->Send("{F13 up}", 0);
    EXPECT_TRUE(observer.WaitFor(bound, false));
    SyncBackend();
    EXPECT_EQ(observer.KeysymOf(bound), KeySym(NoSymbol)) << "the keycode is free again";
    EXPECT_EQ(observer.KeycodeOf(XK_F13), 0);
}

TEST_F(XTestBackendTest, WithNoFreeKeycodeTheKeyIsSkippedWithOneWarning) {
    filled = observer.EmptyKeycodes();
    for (KeyCode k : filled) observer.SetKeysym(k, XK_F35);
    const std::vector<KeyCode> before = observer.DownKeycodes();

    ::testing::internal::CaptureStderr();
    for (int i = 0; i < 3; ++i) {
        EXPECT_NO_THROW(service->Send("{F14 down}", 0));
        EXPECT_NO_THROW(service->Send("{F14 up}", 0));
    }
    service->Send("{F14 down}", 0);
    const std::string warnings = ::testing::internal::GetCapturedStderr();

    SyncBackend();
    EXPECT_EQ(observer.DownKeycodes(), before) << "nothing was pressed";
    EXPECT_EQ(observer.KeycodeOf(XK_F14), 0);
    const std::string expected =
        "Vantrel: the key F14 is not on the current X keyboard map and no free key code is left to "
        "put it there, so it is not sent. Choose another key for this gear.\n";
    EXPECT_EQ(warnings, expected);
    EXPECT_NO_THROW(service->Send("{F14 up}", 0));
}

int g_earlierHandlerCalls = 0;
int CountingHandler(Display*, XErrorEvent*) {
    ++g_earlierHandlerCalls;
    return 0;
}

// Xlib's default handler ends the process on any X error. Ours keeps it alive for our own
// connection and leaves other connections' errors to the handler that was there before.
TEST(XTestErrors, AnXErrorDoesNotEndTheProcess) {
    XObserver observer;
    ASSERT_TRUE(observer.ok());
    XErrorHandler original = XSetErrorHandler(CountingHandler);
    {
        auto* backend = new XTestBackend();
        KeyService service{std::unique_ptr<KeyBackend>(backend)};
        // Keycode 1 is below every keymap's range: the server answers BadValue.
        XTestFakeKeyEvent(backend->display(), 1, True, CurrentTime);
        XSync(backend->display(), False);
        EXPECT_EQ(backend->errorCount(), 1);
        EXPECT_EQ(g_earlierHandlerCalls, 0);

        service.Send("{q down}", 0);
        EXPECT_TRUE(observer.WaitFor(observer.KeycodeOf(XK_q), true)) << "still working";

        XTestFakeKeyEvent(observer.display(), 1, True, CurrentTime);
        XSync(observer.display(), False);
        EXPECT_EQ(g_earlierHandlerCalls, 1) << "another connection's error goes to its handler";
        EXPECT_EQ(backend->errorCount(), 1);
    }
    XSetErrorHandler(original);
}

// A private X server that the test can stop.
class PrivateXServer {
  public:
    PrivateXServer() {
        int fds[2];
        if (pipe(fds) != 0) return;
        pid_ = fork();
        if (pid_ == 0) {
            close(fds[0]);
            const std::string fd = std::to_string(fds[1]);
            execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-nolisten", "tcp", "-screen", "0",
                   "320x200x24", static_cast<char*>(nullptr));
            _exit(127);
        }
        close(fds[1]);
        // Xvfb writes its display number and a newline once it accepts connections; closing
        // the pipe before the newline arrives makes it give up.
        std::string number;
        pollfd p{fds[0], POLLIN, 0};
        char c = 0;
        while (c != '\n' && poll(&p, 1, 20000) == 1 && read(fds[0], &c, 1) == 1) number += c;
        if (c == '\n') name_ = ":" + std::to_string(std::atoi(number.c_str()));
        close(fds[0]);
    }
    ~PrivateXServer() { Stop(); }
    void Stop() {
        if (pid_ <= 0) return;
        kill(pid_, SIGTERM);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
    }
    const std::string& name() const { return name_; }

  private:
    pid_t pid_ = -1;
    std::string name_;
};

TEST(XTestErrors, ALostConnectionBecomesServiceError) {
    PrivateXServer server;
    ASSERT_FALSE(server.name().empty()) << "could not start a private Xvfb";
    KeyService service{std::make_unique<XTestBackend>(server.name().c_str())};
    service.Send("{q down}", 0);
    server.Stop();

    try {
        service.Send("{q up}", 0);
        service.Send("{w down}", 0);  // the loss may only show on the next request
        FAIL() << "no error after the X server went away";
    } catch (const ServiceError& e) {
        EXPECT_EQ(e.number(), kErrorKeySendFailed);
        EXPECT_NE(std::string(e.what()).find("the connection to the X display \"" + server.name() +
                                             "\" was lost"),
                  std::string::npos)
            << e.what();
    }
    EXPECT_THROW(service.Send("{e down}", 0), ServiceError) << "and it stays an error";
    service.ReleaseAll();  // must neither throw nor end the process
}

TEST(XTestErrors, WithoutXTestOrDisplayConstructionSaysWhy) {
    try {
        XTestBackend backend(":987");
        FAIL() << "no error";
    } catch (const ServiceError& e) {
        EXPECT_STREQ(e.what(), "cannot connect to the X display \":987\"");
    }
}

TEST(KeyServiceFactoryUnderX, FallsBackToXTestOrUsesTheOneAskedFor) {
    std::string message;
    setenv("VANTREL_KEY_BACKEND", "xtest", 1);
    auto service = CreateKeyService(message);
    ASSERT_NE(service, nullptr) << message;
    EXPECT_EQ(service->BackendName(), "XTest");
    service.reset();

    unsetenv("VANTREL_KEY_BACKEND");
    if (access("/dev/uinput", W_OK) == 0) GTEST_SKIP() << "uinput works here and comes first";
    service = CreateKeyService(message);
    ASSERT_NE(service, nullptr) << message;
    EXPECT_EQ(service->BackendName(), "XTest");
}

}  // namespace
}  // namespace vantrel
