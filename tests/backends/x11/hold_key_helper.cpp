// Child of the termination tests: holds LCTRL and keeps switching between gears 3 and 4 (w and s),
// so a signal lands while Send is working; SIGUSR1 makes it call std::exit(3) between passes. The
// service is never destroyed: only the hooks let go of the keys.
//
// With --die-holding-w it lets go of nothing itself: it holds w, having held and let go of LSHIFT,
// starts a child that inherits every descriptor not closed on exec, and waits to be killed.

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/key_service_factory.h"
#include "doubles/key_outputs.h"
#include "engine/gear_key_output.h"

extern char** environ;

namespace {

int DieHoldingW(vantrel::KeyService& service) {
    vantrel::testing::KeyDown(service, "LSHIFT");
    vantrel::testing::KeyDown(service, "w");
    vantrel::testing::KeyUp(service, "LSHIFT");
    pid_t child = 0;
    char sleep[] = "sleep", forever[] = "infinity";
    char* argv[] = {sleep, forever, nullptr};
    posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ);
    for (;;) pause();
}

}  // namespace

int main(int argc, char** argv) {
    sigset_t usr1, pending;
    sigemptyset(&usr1);
    sigaddset(&usr1, SIGUSR1);
    pthread_sigmask(SIG_BLOCK, &usr1, nullptr);  // before the signal watcher thread starts
    std::string message;
    vantrel::KeyService* service = vantrel::CreateKeyService(message).release();
    if (service == nullptr) return std::fprintf(stderr, "%s\n", message.c_str()), 2;
    if (argc > 1 && std::strcmp(argv[1], "--die-holding-w") == 0) return DieHoldingW(*service);
    vantrel::ReleaseKeysOnTerminationSignals(*service);
    vantrel::testing::KeyDown(*service, "LCTRL");
    vantrel::ShiftState s;
    s.gearKeys[2] = vantrel::AssignKey("w"), s.gearKeys[3] = vantrel::AssignKey("s");
    for (int16_t gear = 3;; gear = int16_t(7 - gear)) {
        s.currentGear = gear;
        vantrel::SendGearKeys(s, *service);
        sigpending(&pending);
        if (sigismember(&pending, SIGUSR1)) std::exit(3);
    }
}
