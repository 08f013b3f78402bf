#pragma once

#include <cstddef>
#include <memory>

// What no standard API does, once per platform (platform_posix.cpp,
// platform_windows.cpp: the only files that include system headers): the
// standard devices, the result files, and the system's text for an error.

// The outcome of one read or write: the bytes moved, and the errno value of
// a failure (0 when none). 0 bytes without an error: the end of the input.
struct Transfer {
  std::size_t bytes;
  int error;
};

// One end of the dialogue, or a file, as the system gives it; tests put
// devices of their own in its place.
class Device {
 public:
  Device() = default;
  Device(const Device&) = delete;
  Device& operator=(const Device&) = delete;
  virtual ~Device() = default;

  // Reads at most `size` bytes, waiting until at least one is there or the
  // input ends (a descriptor that is not ready is waited for, not failed).
  virtual Transfer read(char* data, std::size_t size) = 0;
  // Writes at least one of the `size` bytes, waiting until the device takes
  // them, unless it fails.
  virtual Transfer write(const char* data, std::size_t size) = 0;
  // Lets a file go: 0, or the errno value of a failure only closing tells.
  virtual int close() { return 0; }
};

// The process's standard input, output and error, made ready for the
// program's bytes on first use (on Windows: UTF-8 at a console).
Device& standardInput();
Device& standardOutput();
Device& standardError();

// Creates file `name`, or empties it, for writing its bytes as they are;
// null, with the errno value in `error`, when it cannot.
std::unique_ptr<Device> createFile(const char* name, int& error);

// The system's text for errno value `error`, in the C locale whatever the
// program selected: ASCII. Allocates nothing; valid until the next call.
const char* systemErrorText(int error);
