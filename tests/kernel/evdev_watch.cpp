#include "kernel/evdev_watch.h"

#include <fcntl.h>
#include <glob.h>
#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <thread>

namespace vantrel::testing {
namespace {

std::string DeviceName(const std::string& node) {
    const int fd = ::open(node.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return {};
    char name[256] = {};
    const int got = ::ioctl(fd, EVIOCGNAME(sizeof name - 1), name);
    ::close(fd);
    return got < 0 ? std::string() : std::string(name);
}

bool BitSet(const unsigned char* bits, int bit) { return (bits[bit / 8] >> (bit % 8)) & 1; }

}  // namespace

std::optional<std::string> FindEventNode(const std::string& name, Clock::duration wait) {
    const Clock::time_point end = Clock::now() + wait;
    do {
        glob_t found{};
        if (::glob("/dev/input/event*", 0, nullptr, &found) == 0) {
            for (size_t i = 0; i < found.gl_pathc; ++i) {
                const std::string node = found.gl_pathv[i];
                if (DeviceName(node) == name) {
                    ::globfree(&found);
                    return node;
                }
            }
        }
        ::globfree(&found);
        std::this_thread::sleep_for(20ms);
    } while (Clock::now() < end);
    return std::nullopt;
}

std::string UdevProperties(const std::string& node) {
    std::string text;
    // Once udev has handled the device's arrival: the node exists before its properties do.
    const std::string command =
        "udevadm settle --timeout=30 && udevadm info --query=property --name=" + node;
    if (FILE* pipe = ::popen(command.c_str(), "r")) {
        char buffer[4096];
        size_t got = 0;
        while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) text.append(buffer, got);
        ::pclose(pipe);
    }
    return text;
}

EvdevWatch::EvdevWatch(const std::string& node) {
    fd_ = ::open(node.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) throw std::runtime_error("open " + node + ": " + std::strerror(errno));
    // Time stamps on the clock the tests measure with.
    int clock = CLOCK_MONOTONIC;
    ::ioctl(fd_, EVIOCSCLOCKID, &clock);
    unsigned char keys[KEY_MAX / 8 + 1] = {};
    ::ioctl(fd_, EVIOCGKEY(sizeof keys), keys);
    for (int code = 0; code <= KEY_MAX; ++code) {
        if (BitSet(keys, code)) down_.insert(static_cast<uint16_t>(code));
    }
}

EvdevWatch::~EvdevWatch() {
    if (fd_ >= 0) ::close(fd_);
}

bool EvdevWatch::ReadSome(Clock::duration wait) {
    if (gone_) return false;
    pollfd p{fd_, POLLIN, 0};
    const int ms = static_cast<int>(std::chrono::ceil<std::chrono::milliseconds>(wait).count());
    if (::poll(&p, 1, ms) <= 0) return false;
    input_event events[64];
    const ssize_t got = ::read(fd_, events, sizeof events);
    if (got < 0) {
        if (errno == ENODEV) gone_ = true;
        return gone_;
    }
    for (size_t i = 0; i < static_cast<size_t>(got) / sizeof(input_event); ++i) {
        const input_event& e = events[i];
        if (e.type != EV_KEY || e.value == 2) continue;
        const auto when = Clock::time_point(std::chrono::seconds(e.input_event_sec) +
                                            std::chrono::microseconds(e.input_event_usec));
        changes_.push_back({e.code, e.value != 0, when});
        if (e.value != 0) {
            down_.insert(e.code);
        } else {
            down_.erase(e.code);
        }
    }
    return true;
}

bool EvdevWatch::WaitForKey(uint16_t code, bool down, Clock::duration wait) {
    const Clock::time_point end = Clock::now() + wait;
    while ((down_.count(code) != 0) != down) {
        const Clock::time_point now = Clock::now();
        if (now >= end || gone_) return false;
        ReadSome(end - now);
    }
    return true;
}

std::optional<EvdevWatch::KeyChange> EvdevWatch::WaitForChange(uint16_t code, bool down,
                                                               size_t from, Clock::duration wait) {
    const Clock::time_point end = Clock::now() + wait;
    for (size_t next = from;;) {
        for (; next < changes_.size(); ++next) {
            if (changes_[next].code == code && changes_[next].down == down) return changes_[next];
        }
        const Clock::time_point now = Clock::now();
        if (now >= end || gone_) return std::nullopt;
        ReadSome(end - now);
    }
}

void EvdevWatch::Drain(Clock::duration quiet) {
    while (ReadSome(quiet) && !gone_) {
    }
}

bool EvdevWatch::WaitUntilGone(Clock::duration wait) {
    const Clock::time_point end = Clock::now() + wait;
    while (!gone_ && Clock::now() < end) ReadSome(end - Clock::now());
    return gone_;
}

input_id EvdevWatch::Ids() const {
    input_id id{};
    ::ioctl(fd_, EVIOCGID, &id);
    return id;
}

int EvdevWatch::ButtonCount() const {
    unsigned char keys[KEY_MAX / 8 + 1] = {};
    ::ioctl(fd_, EVIOCGBIT(EV_KEY, sizeof keys), keys);
    int count = 0;
    for (int code = BTN_MISC; code <= KEY_MAX; ++code) count += BitSet(keys, code) ? 1 : 0;
    return count;
}

}  // namespace vantrel::testing
