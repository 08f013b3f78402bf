#include "main/fd_streams.h"

#include <sys/ioctl.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

FdInBuf::FdInBuf(int fd, std::size_t size) : fd_(fd), buffer_(size) {
  setg(buffer_.data(), buffer_.data(), buffer_.data());
}

FdInBuf::int_type FdInBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  ssize_t got = 0;
  do {
    got = ::read(fd_, buffer_.data(), buffer_.size());
  } while (got < 0 && errno == EINTR);
  if (got < 0) noteError(errno);
  if (got <= 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + got);
  return traits_type::to_int_type(*gptr());
}

std::streamsize FdInBuf::showmanyc() {
  int pending = 0;
  if (::ioctl(fd_, FIONREAD, &pending) != 0 || pending < 0) return 0;
  return pending;
}

FdOutBuf::FdOutBuf(int fd, std::size_t size) : fd_(fd), buffer_(size) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

FdOutBuf::~FdOutBuf() { drain(); }

namespace {

// Writes all of [data, data + size); returns 0, or the errno value of the
// write that failed.
int writeAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t put = ::write(fd, data, size);
    if (put < 0 && errno == EINTR) continue;
    if (put < 0) return errno;
    if (put == 0) return EIO;
    data += put;
    size -= static_cast<std::size_t>(put);
  }
  return 0;
}

}  // namespace

bool FdOutBuf::drain() {
  const int error = writeAll(fd_, pbase(), static_cast<std::size_t>(pptr() - pbase()));
  noteError(error);
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return error == 0;
}

FdOutBuf::int_type FdOutBuf::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize FdOutBuf::xsputn(const char* s, std::streamsize n) {
  const auto size = static_cast<std::size_t>(n);
  const auto room = static_cast<std::size_t>(epptr() - pptr());
  if (size <= room) {
    std::memcpy(pptr(), s, size);
    pbump(static_cast<int>(n));
    return n;
  }
  // Too big for what is left: send the buffer, then either buffer the rest or
  // write it directly when it would not fit anyway.
  if (!drain()) return 0;
  if (size >= buffer_.size()) {
    const int error = writeAll(fd_, s, size);
    noteError(error);
    return error == 0 ? n : 0;
  }
  std::memcpy(pptr(), s, size);
  pbump(static_cast<int>(n));
  return n;
}

int FdOutBuf::sync() { return drain() ? 0 : -1; }
