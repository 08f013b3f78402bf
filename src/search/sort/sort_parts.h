#pragma once

// The parts of the field sort, for its own files only. Every part leaves
// its result in the sorter's scratch memory.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "list/record_list.h"
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
  std::size_t end;  // one past the last
  std::size_t offset;
};

// Dates whose parts span too many bits to pack into 32: compared as a whole.
struct WideDateKey {
  std::uint64_t yearMonth;
  std::uint32_t day;
  std::uint32_t index;
};

// Distinct strings, numbered as first met, their bytes side by side (no trip
// to a record to compare); twice as many slots as values or more: few probes.
class DistinctValues {
 public:
  std::size_t size() const { return starts_.size() - 1; }
  std::size_t slots() const { return table_.size(); }
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

// Memory shared by every kind of key, carved afresh by each sort and never
// cleared: every part writes its keys before it reads them.
class Region {
 public:
  // Room for `bytes` at least, from the start again. Grows to the largest
  // asked for, the old memory freed first: the two are never held at once.
  void reset(std::size_t bytes) {
    if (bytes > size_) {
      memory_.reset();
      size_ = 0;
      memory_.reset(new std::byte[bytes]);
      size_ = bytes;
    }
    used_ = 0;
  }
  // The next `count` objects of trivial type T, unwritten.
  template <typename T>
  T* take(std::size_t count) {
    static_assert(std::is_trivial_v<T>);
    const std::size_t start = (used_ + alignof(T) - 1) / alignof(T) * alignof(T);
    if (start > size_ || count > (size_ - start) / sizeof(T)) throw std::bad_alloc();
    used_ = start + count * sizeof(T);
    T* objects = reinterpret_cast<T*>(memory_.get() + start);
    // Begins the objects' lifetimes; no code for trivial types.
    std::uninitialized_default_construct_n(objects, count);
    return std::launder(objects);
  }
  std::size_t size() const { return size_; }

  // Bytes for `count` objects of each type, with room for their alignment.
  template <typename... T>
  static constexpr std::size_t bytesFor(std::size_t count) {
    return ((count * sizeof(T) + alignof(T)) + ...);
  }

 private:
  std::unique_ptr<std::byte[]> memory_;
  std::size_t size_ = 0;
  std::size_t used_ = 0;
};

// What the most demanding way takes for `n` records: window keys (the order overlays them).
constexpr std::size_t mostBytesFor(std::size_t n) { return Region::bytesFor<StringKey>(n); }

struct Scratch {
  Region region;
  std::uint32_t* from = nullptr;  // in the region: from[i] is the record that goes to i
  std::vector<TiedRun> runs;
};

using Records = RecordList::View;

// Each fills scratch.from with the order of `records` by the field.
void orderByString(Records records, Word field, Scratch& scratch);
void orderByDate(Records records, Date Record::*field, Scratch& scratch);

// Sorts keys[0, n) (whose `index` fields are set) in string order of
// records[index].word(field).
void sortStringKeys(Records records, Word field, StringKey* keys, std::size_t n,
                    std::vector<TiedRun>& runs);

// Fills from[0, n) with the positions in order of keys[i] < buckets, equal
// keys by position; `counts` has room for `buckets` entries.
void countingOrder(const std::uint32_t* keys, std::size_t n, std::uint32_t* counts,
                   std::size_t buckets, std::uint32_t* from);

}  // namespace field_sort
