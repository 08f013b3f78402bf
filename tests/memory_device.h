#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>
#include <utility>

#include "io/output.h"
#include "io/platform.h"

// A device over memory: reads hand over `input` at most `perRead` bytes at
// a time, writes are kept whole.
class MemoryDevice : public Device {
 public:
  explicit MemoryDevice(std::string input = {}, std::size_t perRead = SIZE_MAX)
      : input_(std::move(input)), perRead_(perRead) {}
  Transfer read(char* data, std::size_t size) override {
    ++reads;
    const std::size_t n = std::min({size, perRead_, input_.size() - at_});
    std::memcpy(data, input_.data() + at_, n);
    at_ += n;
    return {n, 0};
  }
  Transfer write(const char* data, std::size_t size) override {
    written.append(data, size);
    return {size, 0};
  }
  std::string written;
  int reads = 0;

 private:
  std::string input_;
  std::size_t perRead_;
  std::size_t at_ = 0;
};

// What `print(out)` writes through an Output.
template <typename Print>
std::string Printed(Print print) {
  MemoryDevice device;
  Output out(device, 4096);
  print(out);
  out.flush();
  return device.written;
}
