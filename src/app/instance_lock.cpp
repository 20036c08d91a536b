#include "app/instance_lock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <string>

namespace vantrel {
namespace {

bool IsPrivateFolder(const std::filesystem::path& folder) {
    struct stat st {};
    if (::lstat(folder.c_str(), &st) != 0) return false;
    return S_ISDIR(st.st_mode) && st.st_uid == ::getuid();
}

}  // namespace

std::filesystem::path InstanceLockFile() {
    const char* runtime = std::getenv("XDG_RUNTIME_DIR");
    if (runtime != nullptr && runtime[0] == '/') {
        std::error_code ec;
        const std::filesystem::path folder = std::filesystem::canonical(runtime, ec);
        if (!ec && std::filesystem::is_directory(folder, ec)) return folder / "vantrel.lock";
    }
    return std::filesystem::path("/tmp") / ("vantrel-" + std::to_string(::getuid())) /
           "vantrel.lock";
}

LockAttempt TryLockFile(const std::filesystem::path& file) {
    const std::filesystem::path folder = file.parent_path();
    if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return {};
    // Another user could have made the folder first (in /tmp) to keep us out or to point us
    // elsewhere; such a folder is not ours to use.
    if (!IsPrivateFolder(folder)) return {};

    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
    if (fd < 0) return {};
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) return {InstanceLockState::Held, fd};
    const int error = errno;
    ::close(fd);
    if (error == EWOULDBLOCK) return {InstanceLockState::HeldByOther, -1};
    return {};
}

}  // namespace vantrel
