#include "io/device_streams.h"

#include <cstring>

DeviceInBuf::DeviceInBuf(Device& device, std::size_t size) : device_(device), buffer_(size) {
  setg(buffer_.data(), buffer_.data(), buffer_.data());
}

DeviceInBuf::int_type DeviceInBuf::underflow() {
  if (gptr() < egptr()) return traits_type::to_int_type(*gptr());
  const Transfer got = device_.read(buffer_.data(), buffer_.size());
  noteError(got.error);
  if (got.bytes == 0) return traits_type::eof();
  setg(buffer_.data(), buffer_.data(), buffer_.data() + got.bytes);
  return traits_type::to_int_type(*gptr());
}

std::streamsize DeviceInBuf::showmanyc() { return static_cast<std::streamsize>(device_.pending()); }

DeviceOutBuf::DeviceOutBuf(Device& device, std::size_t size) : device_(device), buffer_(size) {
  setp(buffer_.data(), buffer_.data() + buffer_.size());
}

DeviceOutBuf::~DeviceOutBuf() { drain(); }

bool DeviceOutBuf::writeAll(const char* data, std::size_t size) {
  while (size > 0) {
    const Transfer put = device_.write(data, size);
    if (put.error != 0 || put.bytes == 0) {
      noteError(put.error);
      return false;
    }
    data += put.bytes;
    size -= put.bytes;
  }
  return true;
}

bool DeviceOutBuf::drain() {
  const bool written = writeAll(pbase(), static_cast<std::size_t>(pptr() - pbase()));
  setp(buffer_.data(), buffer_.data() + buffer_.size());
  return written;
}

DeviceOutBuf::int_type DeviceOutBuf::overflow(int_type c) {
  if (!drain()) return traits_type::eof();
  if (!traits_type::eq_int_type(c, traits_type::eof())) {
    *pptr() = traits_type::to_char_type(c);
    pbump(1);
  }
  return traits_type::not_eof(c);
}

std::streamsize DeviceOutBuf::xsputn(const char* s, std::streamsize n) {
  const auto size = static_cast<std::size_t>(n);
  if (size > static_cast<std::size_t>(epptr() - pptr())) {
    // Too big for what is left: send the buffer, then either buffer the
    // rest or write it directly when it would not fit anyway.
    if (!drain()) return 0;
    if (size >= buffer_.size()) return writeAll(s, size) ? n : 0;
  }
  std::memcpy(pptr(), s, size);
  pbump(static_cast<int>(n));
  return n;
}

int DeviceOutBuf::sync() { return drain() ? 0 : -1; }
