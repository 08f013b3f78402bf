#pragma once

// The byte-level speed tricks of reading, each with its row in
// bench/bytes_driver.cpp against the plain standard-library way.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fast_bytes {

// Whitespace: the six ASCII bytes that separate items, whatever the locale.
inline bool isSpace(int byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

// The first whitespace byte in [p, end), or end. Eight bytes at a time
// while none of them lies below '!' (the test is exact for "none"): the
// bytes of words are mostly letters, all above it.
inline const char* findSpace(const char* p, const char* end) {
  constexpr std::uint64_t kOnes = 0x0101010101010101U;
  for (;;) {
    for (std::uint64_t eight = 0; end - p >= 8; p += 8) {
      std::memcpy(&eight, p, 8);
      if (((eight - kOnes * '!') & ~eight & kOnes * 0x80) != 0) break;
    }
    const char* const stop = p + std::min<std::ptrdiff_t>(end - p, 8);
    for (; p != stop; ++p) {
      if (isSpace(static_cast<unsigned char>(*p))) return p;
    }
    if (p == end) return p;
  }
}

}  // namespace fast_bytes
