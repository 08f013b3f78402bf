#include "search/field_sort.h"

#include <algorithm>
#include <cstdint>

namespace {

// A key that orders like the field over a 16-byte window, plus the record's
// position. Sorting these small keys and then moving each record once is
// several times faster than sorting the records themselves.
struct SortKey {
  std::uint64_t hi;
  std::uint64_t lo;
  // Length of the string clipped to one past the window's end, so that
  // strings ending inside the window order by length (a prefix first) and
  // those running past it tie until the next window decides. 0 for dates.
  std::uint32_t clippedLength;
  std::uint32_t index;
};

bool keyLess(const SortKey& a, const SortKey& b) {
  if (a.hi != b.hi) return a.hi < b.hi;
  if (a.lo != b.lo) return a.lo < b.lo;
  return a.clippedLength < b.clippedLength;
}

bool keyEqual(const SortKey& a, const SortKey& b) {
  return a.hi == b.hi && a.lo == b.lo && a.clippedLength == b.clippedLength;
}

constexpr std::size_t kWindow = 16;

// Up to eight bytes of `s` from `offset`, big-endian, zero-padded: unsigned
// comparison of these words agrees with byte order.
std::uint64_t prefixWord(const std::string& s, std::size_t offset) {
  std::uint64_t word = 0;
  for (std::size_t i = 0; i < 8; ++i) {
    const std::size_t at = offset + i;
    const auto byte = at < s.size() ? static_cast<unsigned char>(s[at]) : 0U;
    word = (word << 8) | byte;
  }
  return word;
}

// Fills the key for the window starting at `offset`; true when the string
// runs past the window, so that ties may need the next window.
bool fillKey(SortKey& key, const std::string& s, std::size_t offset) {
  key.hi = prefixWord(s, offset);
  key.lo = prefixWord(s, offset + 8);
  const std::size_t end = offset + kWindow;
  key.clippedLength = static_cast<std::uint32_t>(std::min(s.size(), end + 1) - offset);
  return s.size() > end;
}

// Flipping the sign bit maps signed order onto unsigned order.
std::uint64_t biased(std::int32_t v) { return static_cast<std::uint32_t>(v) ^ 0x80000000U; }

bool fillKey(SortKey& key, const Date& d, std::size_t /*offset*/) {
  key.hi = biased(d.year);
  key.lo = (biased(d.month) << 32) | biased(d.day);
  key.clippedLength = 0;
  return false;
}

// Byte `position` of a key's sort order, least significant first: the
// clipped length, then `lo` and `hi` from their lowest byte up.
constexpr int kDigits = 17;
unsigned digitOf(const SortKey& key, int position) {
  if (position == 0) return key.clippedLength & 0xFFU;  // never above kWindow + 1
  const std::uint64_t word = position <= 8 ? key.lo : key.hi;
  return static_cast<unsigned>(word >> (8 * ((position - 1) % 8))) & 0xFFU;
}

// Sorts keys[first, last) by keyLess. Keys that differ in only a few byte
// positions (dates, whose parts span small ranges) take one counting pass
// per such byte; others go to std::sort.
void sortKeyRange(std::vector<SortKey>& keys, std::size_t first, std::size_t last) {
  auto begin = keys.begin() + static_cast<std::ptrdiff_t>(first);
  auto end = keys.begin() + static_cast<std::ptrdiff_t>(last);
  constexpr std::size_t kRadixAbove = 4096;
  constexpr int kMaxRadixPasses = 4;
  if (last - first < kRadixAbove) {
    std::sort(begin, end, keyLess);
    return;
  }
  int varying[kDigits];
  int passes = 0;
  for (int position = 0; position < kDigits; ++position) {
    const unsigned d = digitOf(*begin, position);
    if (std::any_of(begin, end, [&](const SortKey& k) { return digitOf(k, position) != d; })) {
      if (passes == kMaxRadixPasses) {
        std::sort(begin, end, keyLess);
        return;
      }
      varying[passes++] = position;
    }
  }
  std::vector<SortKey> scratch(last - first);
  for (int pass = 0; pass < passes; ++pass) {
    std::size_t offsets[257] = {};
    for (auto it = begin; it != end; ++it) ++offsets[digitOf(*it, varying[pass]) + 1];
    for (std::size_t d = 1; d <= 256; ++d) offsets[d] += offsets[d - 1];
    for (auto it = begin; it != end; ++it) scratch[offsets[digitOf(*it, varying[pass])]++] = *it;
    std::copy(scratch.begin(), scratch.end(), begin);
  }
}

// Sorts keys[first, last), whose fields agree on every byte before `offset`,
// window by window: each run still tied after one window is sorted by the
// next, so long shared prefixes cost passes over the short keys only.
template <typename Field>
void sortKeys(const std::vector<Record>& records, Field Record::*field, std::vector<SortKey>& keys,
              std::size_t first, std::size_t last, std::size_t offset) {
  bool longer = false;
  for (std::size_t i = first; i < last; ++i) {
    if (i + kPrefetchDistance < last)
      prefetchField(records[keys[i + kPrefetchDistance].index].*field);
    longer = fillKey(keys[i], records[keys[i].index].*field, offset) || longer;
  }
  sortKeyRange(keys, first, last);
  if (!longer) return;
  for (std::size_t run = first; run < last;) {
    std::size_t end = run + 1;
    while (end < last && keyEqual(keys[run], keys[end])) ++end;
    if (end - run > 1 && keys[run].clippedLength > kWindow) {
      sortKeys(records, field, keys, run, end, offset + kWindow);
    }
    run = end;
  }
}

// Moves records[from[i]] to position i for every i, following each cycle of
// the permutation once; `from` is used up. Walking a cycle is a chain of
// dependent loads, so a second cursor runs a few steps ahead along the same
// cycle and fetches the records that will be moved next.
void applyOrder(std::vector<Record>& records, std::vector<std::uint32_t>& from) {
  constexpr int kLookahead = 8;
  auto prefetch = [&records](std::size_t k) {
    const char* p = reinterpret_cast<const char*>(&records[k]);
    for (std::size_t line = 0; line < sizeof(Record); line += 64) __builtin_prefetch(p + line);
  };
  for (std::size_t i = 0; i < from.size(); ++i) {
    if (from[i] == i) continue;
    Record held = std::move(records[i]);
    std::size_t ahead = i;
    for (int step = 0; step < kLookahead; ++step) ahead = from[ahead];
    std::size_t j = i;
    for (;;) {
      const std::size_t source = from[j];
      from[j] = static_cast<std::uint32_t>(j);
      if (source == i) {
        records[j] = std::move(held);
        break;
      }
      // Past the cycle's end the cursor meets settled entries and stays put.
      ahead = from[ahead];
      prefetch(ahead);
      records[j] = std::move(records[source]);
      j = source;
    }
  }
}

template <typename Field>
void sortRecords(std::vector<Record>& records, Field Record::*field) {
  std::vector<SortKey> keys(records.size());
  for (std::size_t i = 0; i < keys.size(); ++i) keys[i].index = static_cast<std::uint32_t>(i);
  sortKeys(records, field, keys, 0, keys.size(), 0);
  std::vector<std::uint32_t> from(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i) from[i] = keys[i].index;
  keys = {};
  applyOrder(records, from);
}

}  // namespace

void sortByField(std::vector<Record>& records, std::string Record::*field) {
  sortRecords(records, field);
}
void sortByField(std::vector<Record>& records, Date Record::*field) { sortRecords(records, field); }
