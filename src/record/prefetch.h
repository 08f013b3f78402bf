#pragma once

#include <cstddef>
#include <string_view>

#include "io/prefetch_hint.h"
#include "record/record.h"

// Loops over many records call these a few records ahead: after a sort,
// records and their words lie scattered over the heap, and each would
// otherwise be a cache miss.

// How far ahead those loops fetch.
inline constexpr std::size_t kPrefetchDistance = 8;

inline void prefetchWord(std::string_view word) { SUBSCRIBERS_PREFETCH_HINT(word.data()); }
// All three words: their buffer's first and last cache lines (most are
// under 128 bytes).
inline void prefetchWords(const Record& r) {
  const std::string_view words = r.words.all();
  SUBSCRIBERS_PREFETCH_HINT(words.data());
  SUBSCRIBERS_PREFETCH_HINT(words.data() + words.size());
}
// The whole record, for loops that reach records out of order.
inline void prefetchRecord(const Record& r) {
  const char* p = reinterpret_cast<const char*>(&r);
  for (std::size_t line = 0; line < sizeof(Record); line += 64) SUBSCRIBERS_PREFETCH_HINT(p + line);
}
