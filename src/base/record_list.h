#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/number_index.h"
#include "record/prefetch.h"
#include "record/record.h"

// The run's records in their current order. Its promise, for any history
// of appends, removals and reorders, where n is the records it holds now,
// removed ones not yet dropped included:
// - A record is written once where it stays. The list grows by blocks that
//   never move, so an append never copies what the list holds: O(1)
//   amortised. Records move only when the list is reordered or compacted.
// - Removing the first record with a number: O(1) amortised, expected (a
//   hash table). The record is marked; the marked ones are dropped in one
//   O(n) pass once they are more than a quarter of n, paid by n/4 removals.
// - The index from numbers to records is built at the first removal after
//   a reorder (or ever): one O(n) pass, what a sort costs the next removal.
// - Removed records held: at most a quarter of n. The marks and the index
//   are sized to n, the blocks to at most 2 n plus one block (room for the
//   appends to come), never to the largest the list has been.
// - No caller sees a removed record: walks skip them, views drop them.
// - It is reordered only through reorder(), which keeps marks and index right.
// - An append that finds no memory throws std::bad_alloc and leaves the
//   list as it was.
class RecordList {
 public:
  // At most `blockLimit` blocks: past them an append fails as one that finds
  // no memory would (for tests).
  explicit RecordList(std::size_t blockLimit = SIZE_MAX) : blockLimit_(blockLimit) {}
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;
  ~RecordList();

  // Records in each block: a power of two, so that a position splits with a
  // shift and a mask.
  static constexpr unsigned kBlockBits = 12;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

  void append(Record&& record);
  // Removes the first record, in list order, that holds `number`; false
  // when none does.
  bool removeFirst(std::int32_t number);
  // Records in the list, the removed ones not counted.
  std::size_t size() const { return count_ - removedCount_; }

  // The records by position, as they stand while no record is appended or
  // removed. Small: pass it by value, so that loops keep it in registers.
  class View {
   public:
    std::size_t size() const { return size_; }
    const Record& operator[](std::size_t i) const {
      return blocks_[i >> kBlockBits][i & (kBlockSize - 1)];
    }

   private:
    friend class RecordList;
    View(const Record* const* blocks, std::size_t size) : blocks_(blocks), size_(size) {}
    const Record* const* blocks_;
    std::size_t size_;
  };
  View view() {
    compact();
    return {blocks_.data(), count_};
  }

  // Calls visit(record) for each record in order while it returns true;
  // false when a visit stopped it. Removed records are skipped, not
  // compacted. Words a few records ahead are asked for early: after a sort
  // they lie all over the heap.
  template <typename Visit>
  bool forEach(Visit&& visit) const {
    const View records(blocks_.data(), count_);
    const std::size_t n = records.size();
    const bool marked = removedCount_ != 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (i + kPrefetchDistance < n) prefetchWords(records[i + kPrefetchDistance]);
      if (marked && removed_[i]) continue;
      if (!visit(records[i])) return false;
    }
    return true;
  }

  // Moves the record at from[i] to position i, for every position of a
  // view taken since the list last changed: from[0, view.size()) is a
  // permutation of the positions, and is used up (every entry ends as its
  // own position). Compacts first, as the view did.
  void reorder(std::uint32_t* from);

 private:
  Record* slot(std::size_t i) const { return blocks_[i >> kBlockBits] + (i & (kBlockSize - 1)); }
  Record& at(std::size_t i) { return *slot(i); }
  // Drops the removed records, keeping the others in order. What may fail
  // (std::bad_alloc) comes before anything changes.
  void compact();
  // Destroys the records from position `kept` on and frees blocks left empty.
  void truncate(std::size_t kept);
  std::size_t blockLimit_;
  std::vector<Record*> blocks_;  // room for kBlockSize records each
  std::size_t count_ = 0;        // records constructed, removed ones included
  // From the first removal on, until a reorder: the marks by position, and
  // the index that finds a number's first position not removed.
  bool indexed_ = false;
  std::vector<bool> removed_;
  std::size_t removedCount_ = 0;
  NumberIndex index_;
};
