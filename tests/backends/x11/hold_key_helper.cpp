// Child of the key watchdog tests: holds w through the XTest backend, having held and let go of
// LSHIFT, starts a child that inherits every descriptor not closed on exec, stops itself once the
// watchdog has been told all that, and waits to be killed. It lets go of nothing itself.

#include <signal.h>
#include <spawn.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "app/key_service_factory.h"
#include "doubles/key_outputs.h"

extern char** environ;

int main() {
    std::string message;
    vantrel::KeyService* service = vantrel::CreateKeyService(message).release();
    if (service == nullptr) return std::fprintf(stderr, "%s\n", message.c_str()), 2;
    vantrel::testing::KeyDown(*service, "LSHIFT");
    vantrel::testing::KeyDown(*service, "w");
    vantrel::testing::KeyUp(*service, "LSHIFT");
    pid_t child = 0;
    char sleep[] = "sleep", forever[] = "infinity";
    char* argv[] = {sleep, forever, nullptr};
    posix_spawnp(&child, "sleep", nullptr, nullptr, argv, environ);
    raise(SIGSTOP);
    for (;;) pause();
}
