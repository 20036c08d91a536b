#include "backends/x11/sigpipe_guard.h"

#include <pthread.h>

#include <ctime>

namespace vantrel {
namespace {

sigset_t OnlySigpipe() {
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, SIGPIPE);
    return set;
}

bool SigpipePending() {
    sigset_t pending;
    sigemptyset(&pending);
    sigpending(&pending);
    return sigismember(&pending, SIGPIPE) == 1;
}

}  // namespace

SigpipeGuard::SigpipeGuard() {
    const sigset_t only = OnlySigpipe();
    pthread_sigmask(SIG_BLOCK, &only, &previousMask_);
    wasPending_ = SigpipePending();
}

SigpipeGuard::~SigpipeGuard() {
    if (!wasPending_ && SigpipePending()) {
        const sigset_t only = OnlySigpipe();
        const timespec zero{};
        sigtimedwait(&only, nullptr, &zero);
    }
    pthread_sigmask(SIG_SETMASK, &previousMask_, nullptr);
}

}  // namespace vantrel
