#include "backends/uinput/uinput_io.h"

#include <fcntl.h>
#include <linux/uinput.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace vantrel {
namespace {

class UinputFile final : public UinputIo {
  public:
    explicit UinputFile(int fd) : fd_(fd) {}
    ~UinputFile() override { close(fd_); }
    UinputFile(const UinputFile&) = delete;
    UinputFile& operator=(const UinputFile&) = delete;

    int SetBit(unsigned long request, int value) override {
        return ioctl(fd_, request, value) == 0 ? 0 : errno;
    }
    int Setup(const uinput_setup& setup) override {
        return ioctl(fd_, UI_DEV_SETUP, &setup) == 0 ? 0 : errno;
    }
    int AbsSetup(const uinput_abs_setup& setup) override {
        return ioctl(fd_, UI_ABS_SETUP, &setup) == 0 ? 0 : errno;
    }
    int Create() override { return ioctl(fd_, UI_DEV_CREATE) == 0 ? 0 : errno; }
    int Destroy() override { return ioctl(fd_, UI_DEV_DESTROY) == 0 ? 0 : errno; }
    int Write(const void* data, size_t size) override {
        const char* p = static_cast<const char*>(data);
        while (size > 0) {
            const ssize_t n = write(fd_, p, size);
            if (n < 0) {
                if (errno == EINTR) continue;
                return errno;
            }
            p += n;
            size -= static_cast<size_t>(n);
        }
        return 0;
    }

  private:
    int fd_;
};

}  // namespace

std::unique_ptr<UinputIo> OpenUinputFile(const std::string& path, int& error) {
    const int fd = open(path.c_str(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return nullptr;
    }
    error = 0;
    return std::make_unique<UinputFile>(fd);
}

std::string UinputOpenFailure(const std::string& path, int error) {
    std::string why = "cannot open " + path + " for writing (" + std::strerror(error) + ")";
    if (error == ENOENT || error == ENODEV || error == ENXIO) {
        why += ": the uinput kernel module is not loaded (sudo modprobe uinput)";
    } else if (error == EACCES || error == EPERM || error == EROFS) {
        why += ": your user may not write it";
    }
    return why;
}

}  // namespace vantrel
