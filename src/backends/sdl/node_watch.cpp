#include "backends/sdl/node_watch.h"

#include <QSocketNotifier>
#include <array>
#include <cerrno>

#include <fcntl.h>
#include <unistd.h>

namespace vantrel {

NodeWatch::NodeWatch(std::string path, std::function<void()> onActivity, QObject* parent)
    : QObject(parent), path_(std::move(path)), onActivity_(std::move(onActivity)) {
    fd_ = ::open(path_.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd_ < 0) return;
    live_ = true;
    notifier_ = new QSocketNotifier(fd_, QSocketNotifier::Read, this);
    connect(notifier_, &QSocketNotifier::activated, this, &NodeWatch::drain);
}

NodeWatch::~NodeWatch() {
    delete notifier_;
    if (fd_ >= 0) ::close(fd_);
}

void NodeWatch::drain() {
    // Input events and HID reports are small; read whole buffers until nothing is left.
    std::array<char, 4096> buffer;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer.data(), buffer.size());
        if (n > 0) continue;
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && (errno == EAGAIN || errno == EWOULDBLOCK)) break;
        // End of file or a read error: the device is gone.
        live_ = false;
        notifier_->setEnabled(false);
        break;
    }
    if (onActivity_) onActivity_();
}

}  // namespace vantrel
