#pragma once

// The byte-level speed tricks of reading and of the record line, each with
// its row in bench/bytes_driver.cpp against the plain standard-library way.

#include <algorithm>
#include <charconv>
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

// Writes the decimal form of `value` at `pos` (room for 11 bytes); returns
// its end. Values under 10000, most of a record line, come from a table.
inline char* appendInt(char* pos, std::int32_t value) {
  static constexpr char kPairs[] =
      "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
      "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
      "8081828384858687888990919293949596979899";
  const std::size_t v = static_cast<std::uint32_t>(value);  // negative ones are large
  if (v < 100) {
    if (v < 10) {
      *pos = static_cast<char>('0' + v);
      return pos + 1;
    }
    std::memcpy(pos, kPairs + 2 * v, 2);
    return pos + 2;
  }
  if (v >= 10000) return std::to_chars(pos, pos + 11, value).ptr;
  const std::size_t high = v / 100;
  if (high < 10) {
    *pos++ = static_cast<char>('0' + high);
  } else {
    std::memcpy(pos, kPairs + 2 * high, 2);
    pos += 2;
  }
  std::memcpy(pos, kPairs + 2 * (v % 100), 2);
  return pos + 2;
}

}  // namespace fast_bytes
