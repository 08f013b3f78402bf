// The platform layer on Windows. The standard handles carry the program's
// bytes unchanged (no "\r\n" for "\n", byte 0x1A an ordinary byte); a
// console is read and written through the wide-character calls, with UTF-8
// on the program's side, which also works on consoles whose own UTF-8
// input is broken.

#include <windows.h>

#include <algorithm>
#include <cerrno>
#include <charconv>
#include <cstring>
#include <memory>
#include <utility>

#include "io/platform.h"
#include "io/utf16.h"

namespace {

int errnoOf(DWORD error) {
  constexpr struct {
    DWORD error;
    int errnoValue;
  } kErrnos[] = {
      {ERROR_ACCESS_DENIED, EACCES},     {ERROR_WRITE_PROTECT, EACCES},
      {ERROR_DISK_FULL, ENOSPC},         {ERROR_HANDLE_DISK_FULL, ENOSPC},
      {ERROR_BROKEN_PIPE, EPIPE},        {ERROR_NO_DATA, EPIPE},
      {ERROR_PIPE_NOT_CONNECTED, EPIPE}, {ERROR_BAD_PIPE, EPIPE},
      {ERROR_NOT_ENOUGH_MEMORY, ENOMEM}, {ERROR_OUTOFMEMORY, ENOMEM},
      {ERROR_FILE_NOT_FOUND, ENOENT},    {ERROR_PATH_NOT_FOUND, ENOENT},
  };
  for (const auto& known : kErrnos) {
    if (known.error == error) return known.errnoValue;
  }
  return EIO;
}

// At most this much per call: the calls count in 32 bits.
DWORD clipped(std::size_t size) {
  return static_cast<DWORD>(std::min<std::size_t>(size, std::size_t{1} << 30));
}

// A file or a pipe: bytes as they are.
class HandleDevice : public Device {
 public:
  // An owned handle (a file's) is closed with the device.
  explicit HandleDevice(HANDLE handle, bool owned = false) : handle_(handle), owned_(owned) {}
  ~HandleDevice() override {
    if (owned_) HandleDevice::close();
  }

  Transfer read(char* data, std::size_t size) override {
    for (;;) {
      DWORD got = 0;
      if (ReadFile(handle_, data, clipped(size), &got, nullptr)) {
        // A pipe's writer may write nothing; only a file ends this way.
        if (got > 0 || GetFileType(handle_) != FILE_TYPE_PIPE) return {got, 0};
        continue;
      }
      const DWORD error = GetLastError();
      // The writing end was closed: the end of the input.
      if (error == ERROR_BROKEN_PIPE || error == ERROR_HANDLE_EOF) return {0, 0};
      // A pipe left in PIPE_NOWAIT mode with nothing in it: waited for, as
      // a non-blocking descriptor is on POSIX.
      if (error != ERROR_NO_DATA) return {0, errnoOf(error)};
      Sleep(1);
    }
  }

  Transfer write(const char* data, std::size_t size) override {
    for (;;) {
      DWORD put = 0;
      if (!WriteFile(handle_, data, clipped(size), &put, nullptr)) {
        return {0, errnoOf(GetLastError())};
      }
      if (put > 0) return {put, 0};
      // A full pipe in PIPE_NOWAIT mode takes nothing: wait until it does.
      Sleep(1);
    }
  }

  int close() override {
    if (!owned_ || handle_ == INVALID_HANDLE_VALUE) return 0;
    const BOOL closed = CloseHandle(std::exchange(handle_, INVALID_HANDLE_VALUE));
    return closed ? 0 : errnoOf(GetLastError());
  }

 private:
  HANDLE handle_;
  bool owned_;
};

// A console: UTF-16 on its side, UTF-8 on the program's (see ConsoleInput
// and ConsoleOutput).
class ConsoleDevice : public Device {
 public:
  explicit ConsoleDevice(HANDLE handle) : handle_(handle) {}
  // A character cut off at the very end of the output still shows, as U+FFFD.
  ~ConsoleDevice() override { writeUnits(output_.finish()); }

  Transfer read(char* data, std::size_t size) override {
    while (at_ == ready_.size()) {
      if (ended_) return {0, 0};
      ready_.clear();
      at_ = 0;
      // The calls take untyped buffers of UTF-16 units.
      char16_t units[4096];
      DWORD got = 0;
      const BOOL read =
          ReadConsoleW(handle_, units, static_cast<DWORD>(std::size(units)), &got, nullptr);
      // Nothing read is Ctrl+C (or Ctrl+Break): the run is interrupted, as
      // the system's own handler would do it, not ended as by Ctrl+Z.
      if (got == 0 && (read || GetLastError() == ERROR_OPERATION_ABORTED)) {
        ExitProcess(STATUS_CONTROL_C_EXIT);
      }
      if (!read) return {0, errnoOf(GetLastError())};
      ended_ = !input_.take(std::u16string_view(units, got), ready_);
    }
    const std::size_t n = std::min(size, ready_.size() - at_);
    std::memcpy(data, ready_.data() + at_, n);
    at_ += n;
    return {n, 0};
  }

  Transfer write(const char* data, std::size_t size) override {
    const std::string_view bytes(data, size);
    for (std::size_t done = 0; done < size;) {
      std::size_t taken = 0;
      const DWORD error = writeUnits(output_.next(bytes.substr(done), taken));
      if (error != 0) return {done, errnoOf(error)};
      done += taken;
    }
    // A character cut off at the end is kept by the converter: all taken.
    return {size, 0};
  }

 private:
  // Writes all of `units`; the system's error, or 0.
  DWORD writeUnits(std::u16string_view units) {
    for (std::size_t done = 0; done < units.size();) {
      DWORD put = 0;
      if (!WriteConsoleW(handle_, units.data() + done, static_cast<DWORD>(units.size() - done),
                         &put, nullptr)) {
        return GetLastError();
      }
      if (put == 0) return ERROR_WRITE_FAULT;
      done += put;
    }
    return 0;
  }

  HANDLE handle_;
  ConsoleInput input_;
  ConsoleOutput output_;
  std::string ready_;  // converted input not yet read
  std::size_t at_ = 0;
  bool ended_ = false;
};

std::unique_ptr<Device> standardDevice(DWORD which) {
  // A console is reached through its wide-character calls, which need none
  // of its code pages: those stay as the shell set them.
  const HANDLE handle = GetStdHandle(which);
  DWORD mode = 0;
  if (handle != nullptr && handle != INVALID_HANDLE_VALUE && GetConsoleMode(handle, &mode)) {
    return std::make_unique<ConsoleDevice>(handle);
  }
  return std::make_unique<HandleDevice>(handle);
}

}  // namespace

Device& standardInput() {
  static const std::unique_ptr<Device> input = standardDevice(STD_INPUT_HANDLE);
  return *input;
}

Device& standardOutput() {
  static const std::unique_ptr<Device> output = standardDevice(STD_OUTPUT_HANDLE);
  return *output;
}

Device& standardError() {
  static const std::unique_ptr<Device> error = standardDevice(STD_ERROR_HANDLE);
  return *error;
}

std::unique_ptr<Device> createFile(const char* name, int& error) {
  // Others may read, write or delete it meanwhile, as with the C runtime.
  const HANDLE handle =
      CreateFileA(name, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                  nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  error = handle == INVALID_HANDLE_VALUE ? errnoOf(GetLastError()) : 0;
  return error != 0 ? nullptr : std::make_unique<HandleDevice>(handle, true);
}

const char* systemErrorText(int error) {
  // The C runtime's texts are English, whatever the locale.
  static char text[128];
  if (strerror_s(text, sizeof text, error) != 0) {
    std::memcpy(text, "error ", 6);
    *std::to_chars(text + 6, text + sizeof text - 1, error).ptr = '\0';
  }
  return text;
}
