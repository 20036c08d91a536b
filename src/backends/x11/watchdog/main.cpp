// vantrel-key-watchdog: started by Vantrel when it sends keys through XTest (key_watchdog.h), with
// the X display as its argument and its end of Vantrel's socket as descriptor 0. Follows which keys
// Vantrel holds; when Vantrel goes without a goodbye, lets go of them and ends. It also ends after
// a goodbye and when its X connection ends. It sleeps in poll() between messages.

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <bitset>
#include <cerrno>
#include <cstdio>

#include "backends/x11/key_watchdog_messages.h"
#include "backends/x11/watchdog/real_keyboards.h"
#include "backends/x11/watchdog/vantrel_held_keys.h"

namespace vantrel {
namespace {

namespace messages = key_watchdog_messages;
constexpr int kVantrel = messages::kWatchdogSocketFd;

bool IsSocket(int fd) {
    struct stat s {};
    return fstat(fd, &s) == 0 && S_ISSOCK(s.st_mode);
}

void Answer(char answer) { [[maybe_unused]] const ssize_t n = write(kVantrel, &answer, 1); }

// The X server went away, and with it every key it held: nothing is left to do.
int EndWithConnection(Display*) { _exit(0); }
// A refused request (a keycode gone from the keymap, a device unplugged) only skips that step.
int IgnoreXError(Display*, XErrorEvent*) { return 0; }

class Watchdog {
  public:
    explicit Watchdog(Display* display) : display_(display) {}

    // Follows Vantrel's messages; true when it said goodbye, false when it went without one.
    bool FollowVantrel();
    void LetGoOfVantrelsKeys();

  private:
    // Reads what the server sent (nothing the watchdog needs), Xlib's queue included, which
    // poll() does not see. A closed X connection ends the process here (EndWithConnection).
    void ReadEvents();
    // Sleeps until there is data on one of the watched descriptors; call ReadEvents() first.
    void Poll(pollfd* watched, nfds_t count);

    Display* display_;
    VantrelHeldKeys vantrel_;
};

void Watchdog::ReadEvents() {
    while (XPending(display_) > 0) {
        XEvent event;
        XNextEvent(display_, &event);
    }
}

void Watchdog::Poll(pollfd* watched, nfds_t count) {
    while (poll(watched, count, -1) < 0 && errno == EINTR) {
    }
}

bool Watchdog::FollowVantrel() {
    pollfd watched[] = {{kVantrel, POLLIN, 0}, {ConnectionNumber(display_), POLLIN, 0}};
    // No other X call is made here, so after this poll() sees all that the server sends.
    ReadEvents();
    for (;;) {
        Poll(watched, 2);
        if (watched[1].revents != 0) ReadEvents();
        if (watched[0].revents == 0) continue;
        char bytes[4096];
        const ssize_t n = read(kVantrel, bytes, sizeof bytes);
        if (n > 0) {
            vantrel_.Take(bytes, static_cast<size_t>(n));
            if (vantrel_.saidGoodbye()) return true;
        } else if (n == 0 || errno != EINTR) {
            return false;
        }
    }
}

// XTest lets go only of keys its own device holds, so a key only the player holds is never
// touched. A key the player holds as well stays down until the player lets go of it: letting go
// now would lift it under the player's finger. Vantrel's hold on it is let go of after that, which
// no client sees (for them the key is already up), but which leaves the key ready to be pressed
// through XTest again.
void Watchdog::LetGoOfVantrelsKeys() {
    std::bitset<256> waiting = vantrel_.held();
    if (waiting.none()) return;
    RealKeyboards player(display_);
    // Before the first look, so a release between the look and the wait is not missed.
    player.WatchReleases();
    pollfd watched[] = {{ConnectionNumber(display_), POLLIN, 0}};
    for (;;) {
        const std::bitset<256> playerHolds = player.HeldKeycodes();
        for (unsigned keycode = 0; keycode < waiting.size(); ++keycode) {
            if (!waiting[keycode] || playerHolds[keycode]) continue;
            XTestFakeKeyEvent(display_, keycode, False, CurrentTime);
            waiting.reset(keycode);
        }
        XSync(display_, False);
        if (waiting.none()) return;
        ReadEvents();
        Poll(watched, 1);
    }
}

int Run(const char* displayName) {
    // The process Vantrel started ends at once and Vantrel reaps it; the watchdog goes on as an
    // orphan that init reaps, so it never lingers as a zombie of a Vantrel that goes on running.
    const pid_t child = fork();
    if (child < 0) return 1;  // Vantrel sees the socket close without an answer
    if (child > 0) _exit(0);
    // Only so as not to keep Vantrel's working folder busy; nothing depends on it.
    [[maybe_unused]] const int moved = chdir("/");
    signal(SIGPIPE, SIG_IGN);
    XSetIOErrorHandler(EndWithConnection);

    Display* display = XOpenDisplay(displayName);
    if (display == nullptr) return Answer(messages::kNoDisplay), 1;
    int event = 0, error = 0, major = 0, minor = 0;
    if (!XTestQueryExtension(display, &event, &error, &major, &minor)) {
        return Answer(messages::kNoXTest), 1;
    }
    XSetErrorHandler(IgnoreXError);
    Watchdog watchdog(display);
    Answer(messages::kReady);
    if (!watchdog.FollowVantrel()) watchdog.LetGoOfVantrelsKeys();
    XCloseDisplay(display);
    return 0;
}

}  // namespace
}  // namespace vantrel

int main(int argc, char** argv) {
    if (argc != 2 || !vantrel::IsSocket(vantrel::kVantrel)) {
        std::fprintf(stderr,
                     "vantrel-key-watchdog is started by vantrel itself when it sends keys "
                     "through XTest; there is no need to run it by hand.\n");
        return 2;
    }
    return vantrel::Run(argv[1]);
}
