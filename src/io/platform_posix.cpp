// The platform layer on POSIX systems: plain descriptors.

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <clocale>  // newlocale, locale_t (POSIX, beside the C ones)
#include <cstring>
#include <memory>
#include <utility>

#include "io/platform.h"

namespace {

class Descriptor : public Device {
 public:
  // An owned descriptor (a file's) is closed with the device.
  explicit Descriptor(int fd, bool owned = false) : fd_(fd), owned_(owned) {}
  ~Descriptor() override {
    if (owned_) Descriptor::close();
  }

  Transfer read(char* data, std::size_t size) override {
    for (;;) {
      const ssize_t got = ::read(fd_, data, size);
      if (got >= 0) return {static_cast<std::size_t>(got), 0};
      if (errno == EINTR) continue;
      if (!waitedFor(POLLIN)) return {0, errno};
    }
  }

  Transfer write(const char* data, std::size_t size) override {
    for (;;) {
      const ssize_t put = ::write(fd_, data, size);
      if (put > 0) return {static_cast<std::size_t>(put), 0};
      if (put == 0) return {0, EIO};
      if (errno == EINTR) continue;
      if (!waitedFor(POLLOUT)) return {0, errno};
    }
  }

  int close() override {
    if (!owned_ || fd_ < 0) return 0;
    return ::close(std::exchange(fd_, -1)) == 0 ? 0 : errno;
  }

 private:
  // After a call failed with errno: when the descriptor is only non-blocking
  // and not ready (its parent may have left it so), waits until it is and
  // returns true; false for a real failure, with errno saying which.
  bool waitedFor(short event) const {
    const int error = errno;
    if (error != EAGAIN && error != EWOULDBLOCK) return false;
    pollfd watched{fd_, event, 0};
    // Ready, hung up or failed: the retried call tells which. A poll that
    // fails itself is the failure, with its errno.
    int ready = 0;
    while ((ready = ::poll(&watched, 1, -1)) < 0 && errno == EINTR) {
    }
    return ready >= 0;
  }

  int fd_;
  bool owned_;
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

Device& standardError() {
  static Descriptor error(STDERR_FILENO);
  return error;
}

std::unique_ptr<Device> createFile(const char* name, int& error) {
  int fd = -1;
  while ((fd = ::open(name, O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666)) < 0 &&
         errno == EINTR) {
  }
  error = fd < 0 ? errno : 0;
  return fd < 0 ? nullptr : std::make_unique<Descriptor>(fd, true);
}

const char* systemErrorText(int error) {
  static const locale_t plain = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (plain != static_cast<locale_t>(nullptr)) return ::strerror_l(error, plain);
  static char text[32] = "error ";
  *std::to_chars(text + 6, text + sizeof(text) - 1, error).ptr = '\0';
  return text;
}
