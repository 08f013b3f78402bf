#include "io/output.h"

#include <cerrno>

bool Output::writeAll(const char* data, std::size_t size) {
  while (size > 0) {
    const Transfer put = device_.write(data, size);
    if (put.error != 0 || put.bytes == 0) {
      // A device that fails without saying why has an input/output error.
      if (error_ == 0) error_ = put.error != 0 ? put.error : EIO;
      return false;
    }
    data += put.bytes;
    size -= put.bytes;
  }
  return true;
}

bool Output::flush() {
  const char* start = buffer_.get();
  const auto size = static_cast<std::size_t>(next_ - start);
  next_ = buffer_.get();
  return writeAll(start, size);
}

void Output::writeLong(std::string_view text) {
  // What is buffered goes first; then the text is buffered, or written
  // directly when it would not fit anyway. After a failure it is dropped.
  if (!flush()) return;
  if (text.size() >= static_cast<std::size_t>(end_ - buffer_.get())) {
    writeAll(text.data(), text.size());
  } else {
    write(text);
  }
}
