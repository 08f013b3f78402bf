// Repeated strings: a million subscribers hold some thousands of distinct
// surnames and a handful of districts. A pass in list order gives each
// record the number of its distinct value; sorting the distinct values alone
// gives every record a rank, and ranks sort as small integers.

#include <algorithm>
#include <functional>

#include "record/prefetch.h"
#include "search/sort/sort_parts.h"

namespace field_sort {

std::uint32_t DistinctValues::numberOf(std::string_view value) {
  const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(value));
  Slot* slot = find(value, hash);
  if (slot->number == 0) {
    *slot = {static_cast<std::uint32_t>(size()) + 1, hash};
    bytes_.append(value);
    starts_.push_back(bytes_.size());
    if (size() * 2 > table_.size()) grow();
    return static_cast<std::uint32_t>(size()) - 1;
  }
  return slot->number - 1;
}

DistinctValues::Slot* DistinctValues::find(std::string_view value, std::uint32_t hash) {
  const std::size_t mask = table_.size() - 1;
  std::size_t at = hash & mask;
  while (table_[at].number != 0 &&
         (table_[at].hash != hash || (*this)[table_[at].number - 1] != value)) {
    at = (at + 1) & mask;
  }
  return &table_[at];
}

void DistinctValues::grow() {
  std::vector<Slot> old(table_.size() * 2);
  old.swap(table_);
  // The values are distinct: each finds a free slot.
  for (const Slot& slot : old) {
    if (slot.number != 0) *find((*this)[slot.number - 1], slot.hash) = slot;
  }
}

void countingOrder(const std::uint32_t* keys, std::size_t n, std::uint32_t* counts,
                   std::size_t buckets, std::uint32_t* from) {
  std::fill(counts, counts + buckets, 0);
  for (std::size_t i = 0; i < n; ++i) ++counts[keys[i]];
  std::uint32_t sum = 0;
  for (std::size_t b = 0; b < buckets; ++b) {
    const std::uint32_t here = counts[b];
    counts[b] = sum;
    sum += here;
  }
  for (std::size_t i = 0; i < n; ++i) from[counts[keys[i]]++] = static_cast<std::uint32_t>(i);
}

namespace {

// Orders `from` by the ranks of the field's distinct values; false, `from`
// unwritten, past `tooMany` of them. The values go before window keys come.
bool orderByRanks(Records records, Word field, std::size_t tooMany, Region& region,
                  std::uint32_t* from) {
  const std::size_t n = records.size();
  auto* ranks = region.take<std::uint32_t>(n);
  DistinctValues values;
  for (std::size_t i = 0; i < n && values.size() <= tooMany; ++i) {
    if (i + kPrefetchDistance < n) prefetchWord(records[i + kPrefetchDistance].word(field));
    ranks[i] = values.numberOf(records[i].word(field));
  }
  const std::size_t distinct = values.size();
  if (distinct > tooMany) return false;
  // Each record's value number becomes its value's rank in string order
  // (string_view compares bytes as unsigned values, as the orderings do).
  auto* byValue = region.take<std::uint32_t>(distinct);
  auto* rankOf = region.take<std::uint32_t>(distinct);
  for (std::size_t k = 0; k < distinct; ++k) byValue[k] = static_cast<std::uint32_t>(k);
  std::sort(byValue, byValue + distinct,
            [&values](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; });
  for (std::size_t r = 0; r < distinct; ++r) rankOf[byValue[r]] = static_cast<std::uint32_t>(r);
  for (std::size_t i = 0; i < n; ++i) ranks[i] = rankOf[ranks[i]];
  countingOrder(ranks, n, region.take<std::uint32_t>(distinct), distinct, from);
  return true;
}

}  // namespace

void orderByString(Records records, Word field, Scratch& scratch) {
  const std::size_t n = records.size();
  // Past this many distinct values, ranking does not pay.
  const std::size_t tooMany = n / 8 + 16;
  Region& region = scratch.region;
  // Room for either way at once: the pages the ranks touched are those the
  // window keys take over if ranking gives up.
  region.reset(
      std::max(Region::bytesFor<std::uint32_t>(2 * n + 3 * (tooMany + 1)), mostBytesFor(n)));
  scratch.from = region.take<std::uint32_t>(n);
  if (orderByRanks(records, field, tooMany, region, scratch.from)) return;
  // Too many distinct values: the region holds the window keys instead.
  region.reset(0);
  auto* keys = region.take<StringKey>(n);
  for (std::size_t i = 0; i < n; ++i) keys[i].index = static_cast<std::uint32_t>(i);
  sortStringKeys(records, field, keys, n, scratch.runs);
  // The order takes the keys' place: entry i lies over keys already read.
  scratch.from = reinterpret_cast<std::uint32_t*>(static_cast<void*>(keys));
  for (std::size_t i = 0; i < n; ++i) scratch.from[i] = keys[i].index;
}

}  // namespace field_sort
