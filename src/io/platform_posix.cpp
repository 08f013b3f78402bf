// The standard streams on POSIX systems: plain descriptors.

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>

#include "io/device.h"

namespace {

class Descriptor : public Device {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}

  Transfer read(char* data, std::size_t size) override {
    for (;;) {
      const ssize_t got = ::read(fd_, data, size);
      if (got >= 0) return {static_cast<std::size_t>(got), 0};
      if (errno != EINTR) return {0, errno};
    }
  }

  Transfer write(const char* data, std::size_t size) override {
    for (;;) {
      const ssize_t put = ::write(fd_, data, size);
      if (put > 0) return {static_cast<std::size_t>(put), 0};
      if (put == 0) return {0, EIO};
      if (errno != EINTR) return {0, errno};
    }
  }

  std::size_t pending() override {
    int pending = 0;
    if (::ioctl(fd_, FIONREAD, &pending) != 0 || pending < 0) return 0;
    return static_cast<std::size_t>(pending);
  }

 private:
  int fd_;
};

}  // namespace

Device& standardInput() {
  static Descriptor input(STDIN_FILENO);
  return input;
}

Device& standardOutput() {
  static Descriptor output(STDOUT_FILENO);
  return output;
}
