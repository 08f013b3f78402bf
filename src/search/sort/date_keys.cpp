// Date keys. The parts of real dates span small ranges: each is taken from
// its smallest value and the three are packed, year first, into as few bits
// as they need, usually under 20, which a counting sort orders in one pass;
// wider ones go through radix passes or, past 32 bits, a comparison sort.

#include <algorithm>
#include <cstdint>
#include <utility>

#include "search/sort/sort_parts.h"

namespace field_sort {
namespace {

// Flipping the sign bit maps signed order onto unsigned order.
std::uint32_t biased(std::int32_t v) { return static_cast<std::uint32_t>(v) ^ 0x80000000U; }

// The values one part of the dates takes (biased).
struct DateRange {
  std::uint32_t lowest = UINT32_MAX;
  std::uint32_t highest = 0;
  void widen(std::uint32_t v) {
    lowest = std::min(lowest, v);
    highest = std::max(highest, v);
  }
  // 0 to 32: a part may span the whole integer range.
  int bits() const {
    int bits = 0;
    for (std::uint32_t span = highest - lowest; span != 0; span >>= 1) ++bits;
    return bits;
  }
  std::uint64_t offset(std::uint32_t v) const { return v - lowest; }
};

// Least-significant-digit radix sort of keys[0, n) by their bits
// [32, 32 + bits); stable, so equal keys keep the order of their positions.
// Returns where the sorted keys are: `keys` or `tmp`.
std::uint64_t* radixSortHigh(std::uint64_t* keys, std::uint64_t* tmp, std::size_t n, int bits) {
  constexpr int kDigitBits = 11;
  for (int low = 32; low < 32 + bits; low += kDigitBits) {
    const int width = std::min(kDigitBits, 32 + bits - low);
    const std::uint64_t mask = (std::uint64_t{1} << width) - 1;
    const auto digit = [&](std::uint64_t k) { return static_cast<std::size_t>((k >> low) & mask); };
    std::size_t next[std::size_t{1} << kDigitBits] = {};
    for (std::size_t i = 0; i < n; ++i) ++next[digit(keys[i])];
    std::size_t sum = 0;
    for (std::size_t& c : next) {
      const std::size_t here = c;
      c = sum;
      sum += here;
    }
    for (std::size_t i = 0; i < n; ++i) tmp[next[digit(keys[i])]++] = keys[i];
    std::swap(keys, tmp);
  }
  return keys;
}

void orderByWideDate(Records records, Date Record::*field, Scratch& scratch) {
  const std::size_t n = records.size();
  Region& region = scratch.region;
  region.reset(Region::bytesFor<std::uint32_t, WideDateKey>(n));
  scratch.from = region.take<std::uint32_t>(n);
  auto* keys = region.take<WideDateKey>(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Date& d = records[i].*field;
    keys[i] = {std::uint64_t{biased(d.year)} << 32 | biased(d.month), biased(d.day),
               static_cast<std::uint32_t>(i)};
  }
  std::sort(keys, keys + n, [](const WideDateKey& a, const WideDateKey& b) {
    return a.yearMonth != b.yearMonth ? a.yearMonth < b.yearMonth : a.day < b.day;
  });
  for (std::size_t i = 0; i < n; ++i) scratch.from[i] = keys[i].index;
}

}  // namespace

void orderByDate(Records records, Date Record::*field, Scratch& scratch) {
  const std::size_t n = records.size();
  DateRange year;
  DateRange month;
  DateRange day;
  for (std::size_t i = 0; i < n; ++i) {
    const Date& d = records[i].*field;
    year.widen(biased(d.year));
    month.widen(biased(d.month));
    day.widen(biased(d.day));
  }
  const int dayBits = day.bits();
  const int monthBits = month.bits();
  const int bits = year.bits() + monthBits + dayBits;
  if (bits > 32) {
    orderByWideDate(records, field, scratch);
    return;
  }
  // Up to a million buckets count faster than two radix passes; more
  // buckets than records would cost more than the records.
  constexpr int kCountingBits = 20;
  const bool counting = bits <= kCountingBits && (std::uint64_t{1} << bits) <= n;
  Region& region = scratch.region;
  region.reset(counting ? Region::bytesFor<std::uint32_t>(3 * n)
                        : Region::bytesFor<std::uint32_t, std::uint64_t, std::uint64_t>(n));
  scratch.from = region.take<std::uint32_t>(n);
  // In 64 bits, since one part alone may take all 32 (a shift by 32).
  const auto pack = [&](std::size_t i) {
    const Date& d = records[i].*field;
    return (year.offset(biased(d.year)) << monthBits | month.offset(biased(d.month))) << dayBits |
           day.offset(biased(d.day));
  };
  if (counting) {
    auto* packed = region.take<std::uint32_t>(n);
    for (std::size_t i = 0; i < n; ++i) packed[i] = static_cast<std::uint32_t>(pack(i));
    // As many buckets as records at the most.
    const std::size_t buckets = std::size_t{1} << bits;
    countingOrder(packed, n, region.take<std::uint32_t>(buckets), buckets, scratch.from);
    return;
  }
  auto* keys = region.take<std::uint64_t>(n);
  for (std::size_t i = 0; i < n; ++i) keys[i] = pack(i) << 32 | i;
  const std::uint64_t* sorted = radixSortHigh(keys, region.take<std::uint64_t>(n), n, bits);
  for (std::size_t i = 0; i < n; ++i) scratch.from[i] = static_cast<std::uint32_t>(sorted[i]);
}

}  // namespace field_sort
