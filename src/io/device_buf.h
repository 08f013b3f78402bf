#pragma once

#include <streambuf>

// A stream buffer over a device that can fail. It keeps the first error it
// met (an errno value), so that the dialogue can tell a failed read from the
// end of the input, and say why a write failed. Buffers over memory are not
// devices and never fail this way.
class DeviceBuf : public std::streambuf {
 public:
  int error() const { return error_; }

 protected:
  void noteError(int error) {
    if (error_ == 0) error_ = error;
  }

 private:
  int error_ = 0;
};

// The first error of the device under `buf`, or 0 when it met none or is
// not a device.
inline int deviceError(const std::streambuf* buf) {
  const auto* device = dynamic_cast<const DeviceBuf*>(buf);
  return device != nullptr ? device->error() : 0;
}
