#pragma once

// The arguments the bench drivers share.

#include <charconv>
#include <cstddef>
#include <cstring>
#include <system_error>

// A whole number from 1 to `most`, or 0 when `text` is none.
inline std::size_t Count(const char* text, std::size_t most) {
  std::size_t value = 0;
  const char* end = text + std::strlen(text);
  const auto [stop, error] = std::from_chars(text, end, value);
  return error == std::errc() && stop == end && value >= 1 && value <= most ? value : 0;
}

inline bool AsksForHelp(const char* arg) {
  return std::strcmp(arg, "--help") == 0 || std::strcmp(arg, "-h") == 0;
}
