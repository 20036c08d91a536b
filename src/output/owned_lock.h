#pragma once
// A lock that knows which thread holds it. The shutdown paths (a termination signal, std::exit
// called from within a write) may be entered on the thread that is inside a locked call; they must
// not wait for themselves, nor re-enter a device in the middle of a call.

#include <atomic>
#include <chrono>
#include <mutex>
#include <thread>

namespace vantrel {

class OwnedLock {
  public:
    void lock() {
        mutex_.lock();
        owner_.store(std::this_thread::get_id());
    }
    // False when this thread holds it already, or another one holds it for longer than `wait`.
    bool try_lock_for(std::chrono::milliseconds wait) {
        if (owner_.load() == std::this_thread::get_id()) return false;
        if (!mutex_.try_lock_for(wait)) return false;
        owner_.store(std::this_thread::get_id());
        return true;
    }
    void unlock() {
        owner_.store(std::thread::id{});
        mutex_.unlock();
    }

  private:
    std::timed_mutex mutex_;
    std::atomic<std::thread::id> owner_{};
};

}  // namespace vantrel
