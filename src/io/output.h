#pragma once

#include <cstddef>
#include <cstring>
#include <memory>
#include <string_view>

#include "io/platform.h"

// Bytes on their way to a device, through one buffer. Nothing leaves
// behind the program's back: bytes go on at flush(), or when the buffer is
// full. A failed write drops what it was given and later writes are tried
// again (the device may recover); the first failure's errno value stays.
class Output {
 public:
  Output(Device& device, std::size_t size)
      : device_(device), buffer_(new char[size]), next_(buffer_.get()), end_(next_ + size) {}
  Output(const Output&) = delete;
  Output& operator=(const Output&) = delete;

  void write(std::string_view text) {
    if (text.size() > static_cast<std::size_t>(end_ - next_)) return writeLong(text);
    if (!text.empty()) std::memcpy(next_, text.data(), text.size());
    next_ += text.size();
  }
  bool flush();  // false when the device failed
  // The errno value of the first failure, 0 when none.
  int error() const { return error_; }

 private:
  void writeLong(std::string_view text);
  bool writeAll(const char* data, std::size_t size);

  Device& device_;
  std::unique_ptr<char[]> buffer_;
  char* next_;
  char* end_;
  int error_ = 0;
};
