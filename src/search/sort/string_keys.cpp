// Strings that mostly differ: keys over 16-byte windows, radix-sorted.

#include <algorithm>

#include "record/prefetch.h"
#include "search/sort/sort_parts.h"

namespace field_sort {
namespace {

constexpr std::size_t kWindow = 16;
constexpr std::uint32_t kRunsPast = kWindow + 1;

bool keyLess(const StringKey& a, const StringKey& b) {
  if (a.hi != b.hi) return a.hi < b.hi;
  if (a.lo != b.lo) return a.lo < b.lo;
  return a.clipped < b.clipped;
}

bool keyEqual(const StringKey& a, const StringKey& b) {
  return a.hi == b.hi && a.lo == b.lo && a.clipped == b.clipped;
}

std::uint64_t bigEndian(const unsigned char* p) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8; ++i) word = (word << 8) | p[i];
  return word;
}

// Fills the key for the window of `s` that starts at `offset`.
void fillKey(StringKey& key, std::string_view s, std::size_t offset) {
  unsigned char window[kWindow] = {};
  if (offset < s.size()) {
    std::copy_n(s.data() + offset, std::min(kWindow, s.size() - offset), window);
  }
  key.hi = bigEndian(window);
  key.lo = bigEndian(window + 8);
  key.clipped = static_cast<std::uint32_t>(std::min(s.size(), offset + kRunsPast) -
                                           std::min(s.size(), offset));
}

// Digit `d` of a key in sort order: the 16 window bytes, then the length.
unsigned digitOf(const StringKey& key, int d) {
  if (d < 8) return static_cast<unsigned>(key.hi >> (56 - 8 * d)) & 0xFFU;
  if (d < 16) return static_cast<unsigned>(key.lo >> (56 - 8 * (d - 8))) & 0xFFU;
  return key.clipped;  // at most kRunsPast
}
constexpr int kDigits = 17;

// Most-significant-digit radix sort of keys[0, n) from digit `d` on, in
// place (each key swapped into its bucket); small ranges by comparison.
void radixSort(StringKey* keys, std::size_t n, int d) {
  constexpr std::size_t kSmall = 64;
  for (; d < kDigits; ++d) {
    if (n <= kSmall) {
      std::sort(keys, keys + n, keyLess);
      return;
    }
    std::size_t count[256] = {};
    for (std::size_t i = 0; i < n; ++i) ++count[digitOf(keys[i], d)];
    if (count[digitOf(keys[0], d)] == n) {
      // One bucket: often a run of equal keys, which is done at once.
      const StringKey first = keys[0];
      if (std::all_of(keys + 1, keys + n, [&](const StringKey& k) { return keyEqual(k, first); })) {
        return;
      }
      continue;
    }
    std::size_t start[257];
    start[0] = 0;
    for (int b = 0; b < 256; ++b) start[b + 1] = start[b] + count[b];
    std::size_t next[256];
    std::copy(start, start + 256, next);
    for (unsigned b = 0; b < 256; ++b) {
      while (next[b] < start[b + 1]) {
        const unsigned to = digitOf(keys[next[b]], d);
        if (to == b) {
          ++next[b];
        } else {
          std::swap(keys[next[b]], keys[next[to]++]);
        }
      }
    }
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) radixSort(keys + start[b], count[b], d + 1);
    }
    return;
  }
}

}  // namespace

// Sorts the keys window by window: the runs still tied after one window are
// sorted by the next. They wait on a list of their own, not on the call
// stack: words may share prefixes of millions of bytes.
void sortStringKeys(Records records, Word field, StringKey* keys, std::size_t n,
                    std::vector<TiedRun>& runs) {
  runs.assign(1, {0, n, 0});
  while (!runs.empty()) {
    const TiedRun run = runs.back();
    runs.pop_back();
    bool runsPast = false;
    for (std::size_t i = run.first; i < run.end; ++i) {
      if (i + kPrefetchDistance < run.end) {
        prefetchWord(records[keys[i + kPrefetchDistance].index].word(field));
      }
      fillKey(keys[i], records[keys[i].index].word(field), run.offset);
      runsPast = runsPast || keys[i].clipped == kRunsPast;
    }
    radixSort(keys + run.first, run.end - run.first, 0);
    if (!runsPast) continue;
    for (std::size_t tie = run.first; tie < run.end;) {
      std::size_t end = tie + 1;
      while (end < run.end && keyEqual(keys[tie], keys[end])) ++end;
      if (end - tie > 1 && keys[tie].clipped == kRunsPast) {
        runs.push_back({tie, end, run.offset + kWindow});
      }
      tie = end;
    }
  }
}

}  // namespace field_sort
