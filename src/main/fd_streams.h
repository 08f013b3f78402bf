#pragma once

#include <cstddef>
#include <streambuf>
#include <vector>

#include "io/device_buf.h"

// Stream buffers over file descriptors with large buffers. Reads return what
// the descriptor has (a terminal gives a line at a time); nothing is flushed
// behind the program's back, so output leaves only on flush, when the buffer
// is full, or on destruction. A failed read ends the input; a failed write
// drops what was buffered. Both keep the error for the dialogue to report.
class FdInBuf : public DeviceBuf {
 public:
  explicit FdInBuf(int fd, std::size_t size = std::size_t{1} << 16);
  FdInBuf(const FdInBuf&) = delete;
  FdInBuf& operator=(const FdInBuf&) = delete;

 protected:
  int_type underflow() override;
  // Bytes the descriptor holds beyond the buffer (0 when unknown), so that
  // readers can tell whether the next read would wait.
  std::streamsize showmanyc() override;

 private:
  int fd_;
  std::vector<char> buffer_;
};

class FdOutBuf : public DeviceBuf {
 public:
  explicit FdOutBuf(int fd, std::size_t size = std::size_t{1} << 18);
  FdOutBuf(const FdOutBuf&) = delete;
  FdOutBuf& operator=(const FdOutBuf&) = delete;
  ~FdOutBuf() override;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain();

  int fd_;
  std::vector<char> buffer_;
};
