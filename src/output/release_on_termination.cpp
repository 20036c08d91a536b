#include "output/release_on_termination.h"

#include <fcntl.h>
#include <pthread.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <thread>

#include "output/live_key_services.h"

namespace vantrel {
namespace {

constexpr int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

int g_writeFd = -1;  // written by the handler; set once before any handler is installed

extern "C" void OnTerminationSignal(int sig) {
    const int savedErrno = errno;
    const unsigned char byte = static_cast<unsigned char>(sig);
    // Non-blocking: should the pipe ever be full, a signal is already on its way to the watcher.
    [[maybe_unused]] ssize_t n = write(g_writeFd, &byte, 1);
    errno = savedErrno;
}

[[noreturn]] void EndWithSignal(int sig) {
    struct sigaction dfl {};
    dfl.sa_handler = SIG_DFL;
    sigemptyset(&dfl.sa_mask);
    sigaction(sig, &dfl, nullptr);
    sigset_t only;
    sigemptyset(&only);
    sigaddset(&only, sig);
    pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
    raise(sig);
    // Not reached with the default action of these signals; be sure anyway.
    _exit(128 + sig);
}

void Watch(int readFd) {
    for (;;) {
        unsigned char byte = 0;
        const ssize_t n = read(readFd, &byte, 1);
        if (n == 1) {
            live_key_services::ReleaseAllForShutdown();
            EndWithSignal(byte);
        }
        if (n < 0 && errno == EINTR) continue;
        return;  // cannot happen while the write end lives for the whole process
    }
}

bool StartWatcher() {
    int fds[2];
    if (pipe2(fds, O_CLOEXEC) != 0) return false;
    fcntl(fds[1], F_SETFL, fcntl(fds[1], F_GETFL) | O_NONBLOCK);
    g_writeFd = fds[1];

    // The watcher takes no signal itself, so a handler never interrupts the release.
    sigset_t all, previous;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &previous);
    try {
        std::thread(Watch, fds[0]).detach();
    } catch (...) {
        pthread_sigmask(SIG_SETMASK, &previous, nullptr);
        return false;
    }
    pthread_sigmask(SIG_SETMASK, &previous, nullptr);

    for (int sig : kSignals) {
        struct sigaction old {};
        sigaction(sig, nullptr, &old);
        if (old.sa_handler == SIG_IGN) continue;
        struct sigaction sa {};
        sa.sa_handler = OnTerminationSignal;
        sigemptyset(&sa.sa_mask);
        sa.sa_flags = SA_RESTART;
        sigaction(sig, &sa, nullptr);
    }
    return true;
}

}  // namespace

void ReleaseKeysOnTerminationSignals(KeyService& /*service*/) {
    // Every KeyService is already in the registry the watcher releases; the argument names the
    // service the caller wants covered and makes the call order plain (after it exists).
    ReleaseOutputsOnTerminationSignals();
}

void ReleaseOutputsOnTerminationSignals() {
    static std::once_flag once;
    std::call_once(once, [] {
        if (!StartWatcher()) {
            std::fputs(
                "Vantrel: could not set up the release of held keys on termination signals; "
                "if Vantrel is ended by a signal, keys it holds may stay down.\n",
                stderr);
        }
    });
}

}  // namespace vantrel
