// Child process for the termination tests: holds keys through the key service, says "ready" on
// stdout, then
//   hold  - waits to be ended by a signal;
//   busy  - keeps running poll cycles that switch between gears 3 and 4, so a signal arrives
//           while Send is working;
//   exit  - calls std::exit(3) once stdin is closed, with the service still alive.

#include <signal.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "engine/key_output.h"
#include "services/keys/key_service_factory.h"

int main(int argc, char** argv) {
    const std::string mode = argc > 1 ? argv[1] : "";
    std::string message;
    // Not destroyed on any of the ways out below: only the hooks let go of the keys.
    vantrel::KeyService* service = vantrel::CreateKeyService(message).release();
    if (service == nullptr) {
        std::fprintf(stderr, "%s\n", message.c_str());
        return 2;
    }
    vantrel::ReleaseKeysOnTerminationSignals(*service);

    vantrel::MainState s;
    s.key1 = "q", s.key2 = "a", s.key3 = "w", s.key4 = "s", s.key5 = "e";
    s.key6 = "d", s.key7 = "r", s.key8 = "f", s.keyr = "z";
    s.currentgear = 3;
    vantrel::SendGearKeys(s, *service);
    service->Send("{LCTRL down}", 0);
    std::fputs("ready\n", stdout);
    std::fflush(stdout);

    if (mode == "hold") {
        for (;;) pause();
    } else if (mode == "busy") {
        for (int16_t gear = 3;; gear = gear == 3 ? 4 : 3) {
            for (int pass = 0; pass < 2; ++pass) {
                s.currentgear = gear;
                vantrel::SendGearKeys(s, *service);
            }
        }
    } else if (mode == "exit") {
        char c;
        while (read(STDIN_FILENO, &c, 1) > 0) {
        }
        std::exit(3);
    }
    return 1;
}
