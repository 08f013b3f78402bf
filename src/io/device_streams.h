#pragma once

#include <cstddef>
#include <streambuf>
#include <vector>

#include "io/device_buf.h"
#include "io/platform.h"

// Stream buffers over a device, with large buffers. Reads return what the
// device has (a terminal gives a line at a time); nothing is flushed behind
// the program's back, so output leaves only on flush, when the buffer is
// full, or on destruction. A failed read ends the input; a failed write
// drops what it was given. Both keep the error for the dialogue to report.
class DeviceInBuf : public DeviceBuf {
 public:
  explicit DeviceInBuf(Device& device, std::size_t size = std::size_t{1} << 16);
  DeviceInBuf(const DeviceInBuf&) = delete;
  DeviceInBuf& operator=(const DeviceInBuf&) = delete;

 protected:
  int_type underflow() override;
  // Bytes the device holds beyond the buffer (0 when unknown), so that
  // readers can tell whether the next read would wait.
  std::streamsize showmanyc() override;

 private:
  Device& device_;
  std::vector<char> buffer_;
};

class DeviceOutBuf : public DeviceBuf {
 public:
  explicit DeviceOutBuf(Device& device, std::size_t size = std::size_t{1} << 18);
  DeviceOutBuf(const DeviceOutBuf&) = delete;
  DeviceOutBuf& operator=(const DeviceOutBuf&) = delete;
  ~DeviceOutBuf() override;

 protected:
  int_type overflow(int_type c) override;
  std::streamsize xsputn(const char* s, std::streamsize n) override;
  int sync() override;

 private:
  bool drain();
  // Writes all of [data, data + size); false (with the error noted) when
  // the device failed.
  bool writeAll(const char* data, std::size_t size);

  Device& device_;
  std::vector<char> buffer_;
};
