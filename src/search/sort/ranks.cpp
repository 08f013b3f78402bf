// Repeated strings. Surnames and districts repeat: a million subscribers
// hold some thousands of distinct surnames and a handful of districts. A
// pass in list order gives each record the number of its distinct value;
// sorting the distinct values alone then gives every record a rank, and the
// ranks sort as small integers. No trip to a scattered string after that.

#include <algorithm>
#include <functional>

#include "io/prefetch.h"
#include "search/sort/sort_parts.h"

namespace field_sort {

void DistinctValues::clear() {
  bytes_.clear();
  starts_.resize(1);
  std::fill(table_.begin(), table_.end(), Slot{0, 0});
}

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
  std::vector<Slot> grown(table_.size() * 2);
  const std::size_t mask = grown.size() - 1;
  for (const Slot& slot : table_) {
    if (slot.number == 0) continue;
    std::size_t at = slot.hash & mask;
    while (grown[at].number != 0) at = (at + 1) & mask;
    grown[at] = slot;
  }
  table_.swap(grown);
}

void countingOrder(const std::vector<std::uint32_t>& keys, std::size_t buckets, Scratch& scratch) {
  std::vector<std::uint32_t>& next = scratch.counts;
  next.assign(buckets, 0);
  for (const std::uint32_t key : keys) ++next[key];
  std::uint32_t sum = 0;
  for (std::uint32_t& count : next) {
    const std::uint32_t here = count;
    count = sum;
    sum += here;
  }
  std::vector<std::uint32_t>& from = scratch.from;
  from.resize(keys.size());
  for (std::size_t i = 0; i < keys.size(); ++i)
    from[next[keys[i]]++] = static_cast<std::uint32_t>(i);
}

namespace {

// Fills scratch.small[i] with the rank of records[i].*field among the
// distinct values, in string order. Returns the number of distinct values,
// or 0 when there are too many for ranking to pay.
std::size_t rankValues(const std::vector<Record>& records, std::string Record::*field,
                       Scratch& scratch) {
  const std::size_t n = records.size();
  const std::size_t tooMany = n / 4 + 16;
  DistinctValues& values = scratch.values;
  values.clear();
  std::vector<std::uint32_t>& ranks = scratch.small;
  ranks.resize(n);
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kPrefetchDistance < n) prefetchWord(records[i + kPrefetchDistance].*field);
    ranks[i] = values.numberOf(records[i].*field);
    if (values.size() > tooMany) return 0;
  }
  const std::size_t distinct = values.size();
  // scratch.from is free until the counting order fills it.
  std::vector<std::uint32_t>& byValue = scratch.from;
  byValue.resize(distinct);
  for (std::size_t k = 0; k < distinct; ++k) byValue[k] = static_cast<std::uint32_t>(k);
  // string_view compares bytes as unsigned values, as the orderings do.
  std::sort(byValue.begin(), byValue.end(),
            [&values](std::uint32_t a, std::uint32_t b) { return values[a] < values[b]; });
  std::vector<std::uint32_t>& rankOf = scratch.rankOf;
  rankOf.resize(distinct);
  for (std::size_t r = 0; r < distinct; ++r) rankOf[byValue[r]] = static_cast<std::uint32_t>(r);
  for (std::uint32_t& rank : ranks) rank = rankOf[rank];
  return distinct;
}

}  // namespace

void orderByString(const std::vector<Record>& records, std::string Record::*field,
                   Scratch& scratch) {
  const std::size_t n = records.size();
  const std::size_t distinct = rankValues(records, field, scratch);
  if (distinct != 0) {
    countingOrder(scratch.small, distinct, scratch);
    return;
  }
  std::vector<StringKey>& keys = scratch.stringKeys;
  keys.resize(n);
  for (std::size_t i = 0; i < n; ++i) keys[i].index = static_cast<std::uint32_t>(i);
  sortStringKeys(records, field, scratch);
  scratch.from.resize(n);
  for (std::size_t i = 0; i < n; ++i) scratch.from[i] = keys[i].index;
}

}  // namespace field_sort
