#pragma once

#include <cstddef>
#include <string_view>

#include "io/prefetch_hint.h"
#include "record/record.h"

// Loops over many records call these kPrefetchDistance records ahead:
// after a sort, records and their words lie scattered over the heap.
inline constexpr std::size_t kPrefetchDistance = 8;

inline void prefetchWord(std::string_view word) { SUBSCRIBERS_PREFETCH_HINT(word.data()); }
// All three words: their buffer's first and last cache lines.
inline void prefetchWords(const Record& r) {
  const std::string_view words = r.words.all();
  SUBSCRIBERS_PREFETCH_HINT(words.data());
  SUBSCRIBERS_PREFETCH_HINT(words.data() + words.size());
}
// The record (one cache line), for loops that reach records out of order.
inline void prefetchRecord(const Record& r) { SUBSCRIBERS_PREFETCH_HINT(&r); }
