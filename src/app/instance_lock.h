#pragma once
// The per-user lock that tells which Vantrel is the user's one: an exclusive lock on a per-user
// file. The kernel drops a lock when its holder ends, however it ends, so a crashed instance
// blocks nothing.

#include <filesystem>

namespace vantrel {

enum class InstanceLockState {
    Held,         // this process holds the lock
    HeldByOther,  // another process holds it: another Vantrel of this user is running
    Unavailable,  // no lock file could be made, so nobody can tell
};

struct LockAttempt {
    InstanceLockState state = InstanceLockState::Unavailable;
    int fd = -1;  // keeps the lock while open (Held only); closing it lets go
};

// $XDG_RUNTIME_DIR/vantrel.lock when that folder exists, else /tmp/vantrel-<uid>/vantrel.lock.
std::filesystem::path InstanceLockFile();

// Takes the lock on `file` without waiting. Creates the file, and its folder when that is
// missing (mode 0700). A folder that is not a real directory owned by this user is not used.
LockAttempt TryLockFile(const std::filesystem::path& file);

}  // namespace vantrel
