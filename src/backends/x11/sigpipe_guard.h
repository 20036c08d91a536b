#pragma once
// Writing to a connection whose far end has gone raises SIGPIPE, whose default action ends the
// process. While one of these lives, SIGPIPE raised by this thread is held back and then
// discarded, so the write fails with EPIPE instead.

#include <signal.h>

namespace vantrel {

class SigpipeGuard {
  public:
    SigpipeGuard();
    ~SigpipeGuard();
    SigpipeGuard(const SigpipeGuard&) = delete;
    SigpipeGuard& operator=(const SigpipeGuard&) = delete;

  private:
    sigset_t previousMask_;
    bool wasPending_ = false;
};

}  // namespace vantrel
