// The platform layer on POSIX systems: plain descriptors.

#include <poll.h>
#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <clocale>  // newlocale, locale_t (POSIX, beside the C ones)
#include <cstring>

#include "io/platform.h"

namespace {

class Descriptor : public Device {
 public:
  explicit Descriptor(int fd) : fd_(fd) {}

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

  std::size_t pending() override {
    int pending = 0;
    if (::ioctl(fd_, FIONREAD, &pending) != 0 || pending < 0) return 0;
    return static_cast<std::size_t>(pending);
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

const char* systemErrorText(int error) {
  static const locale_t plain = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(nullptr));
  if (plain != static_cast<locale_t>(nullptr)) return ::strerror_l(error, plain);
  static char text[32] = "error ";
  *std::to_chars(text + 6, text + sizeof(text) - 1, error).ptr = '\0';
  return text;
}
