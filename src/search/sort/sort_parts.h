#pragma once

// The parts of the field sort, for its own files only. Every part leaves
// its result in the sorter's scratch buffers, which live across sorts: a
// second sort of a list of the same size allocates nothing.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "record/record.h"

namespace field_sort {

// A 16-byte window of a string, big-endian, so that unsigned comparison of
// (hi, lo) agrees with byte order, plus the record's position.
struct StringKey {
  std::uint64_t hi;
  std::uint64_t lo;
  // Length of the string clipped to one past the window's end, so that
  // strings ending inside the window order by length (a prefix first) and
  // those running past it tie until the next window decides.
  std::uint32_t clipped;
  std::uint32_t index;
};

// A stretch of keys still tied on every byte before `offset`.
struct TiedRun {
  std::size_t first;
  std::size_t last;
  std::size_t offset;
};

// Dates whose parts span too many bits to pack into 32: compared as a whole.
struct WideDateKey {
  std::uint64_t yearMonth;
  std::uint32_t day;
  std::uint32_t index;
};

// Distinct strings, numbered in the order first met. Their bytes are kept
// side by side: comparing against them must not be a trip to a record
// somewhere in the list.
class DistinctValues {
 public:
  // Forgets every value, keeping the memory.
  void clear();
  std::size_t size() const { return starts_.size() - 1; }
  std::string_view operator[](std::size_t k) const {
    return std::string_view(bytes_).substr(starts_[k], starts_[k + 1] - starts_[k]);
  }
  // The number of `value`, which is added if it is new.
  std::uint32_t numberOf(std::string_view value);

 private:
  static constexpr std::size_t kFirstTable = 1024;
  // Open addressing: number + 1 (0 when empty), beside the hash.
  struct Slot {
    std::uint32_t number;
    std::uint32_t hash;
  };
  Slot* find(std::string_view value, std::uint32_t hash);
  void grow();

  std::string bytes_;
  std::vector<std::size_t> starts_{0};  // value k is bytes_[starts_[k], starts_[k + 1])
  std::vector<Slot> table_ = std::vector<Slot>(kFirstTable);
};

struct Scratch {
  // The order found: from[i] is the position whose record goes to i.
  std::vector<std::uint32_t> from;
  // Small keys by position: ranks of strings, packed dates.
  std::vector<std::uint32_t> small;
  std::vector<std::uint32_t> counts;
  std::vector<std::uint64_t> wide;
  std::vector<std::uint64_t> wideTmp;
  std::vector<StringKey> stringKeys;
  std::vector<StringKey> stringTmp;
  std::vector<TiedRun> runs;
  std::vector<WideDateKey> dateKeys;
  DistinctValues values;
  std::vector<std::uint32_t> rankOf;
  std::vector<Record> setAside;
};

// Each fills scratch.from with the order of `records` by the field.
void orderByString(const std::vector<Record>& records, std::string Record::*field,
                   Scratch& scratch);
void orderByDate(const std::vector<Record>& records, Date Record::*field, Scratch& scratch);

// Sorts scratch.stringKeys (whose `index` fields are set) in string order of
// records[index].*field.
void sortStringKeys(const std::vector<Record>& records, std::string Record::*field,
                    Scratch& scratch);

// Fills scratch.from with the positions in order of keys[i] < buckets,
// equal keys by position. Uses scratch.counts; `keys` may be scratch.small.
void countingOrder(const std::vector<std::uint32_t>& keys, std::size_t buckets, Scratch& scratch);

// Moves records[from[i]] to position i for every i; scratch.from is used
// up (every entry ends as its own position).
void moveIntoOrder(std::vector<Record>& records, Scratch& scratch);

}  // namespace field_sort
