#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "list/number_index.h"
#include "record/prefetch.h"
#include "record/record.h"

// The run's records in their current order. One memory policy, for any
// history of appends, removals and reorders, where n is the records held
// now (removed ones not yet dropped included):
// - Appending: O(1) amortised. The list grows by blocks that never move, so
//   an append never copies what the list holds; records move only when the
//   list is reordered or compacted.
// - Removing the first record with a number: O(1) amortised, expected (a
//   hash table). The record is only marked; the marked ones are dropped in
//   one O(n) pass, which allocates nothing, once they reach half of n at a
//   removal, or a quarter of n when an append would need a new block.
// - The index from numbers to records is built at the first removal after
//   a reorder (or ever): one O(n) pass, what a sort costs the next removal.
// - Memory held, in terms of n alone: removed records at most n / 2; blocks
//   for fewer than 2 n + kBlockSize records (capacity()), freed to 2 n or
//   more; marks and index room for at most 4 n + 64 (indexCapacity()): past
//   that, a compaction drops them and the next removal builds them anew.
// - No caller sees a removed record: walks skip them, views drop them.
// - It is reordered only through reorder(), which keeps marks and index right.
// - An append that finds no memory throws std::bad_alloc and leaves the
//   list as it was.
class RecordList {
 public:
  RecordList() = default;
  RecordList(const RecordList&) = delete;
  RecordList& operator=(const RecordList&) = delete;
  virtual ~RecordList();

  // Records in each block: a power of two, so a position splits by shift and mask.
  static constexpr unsigned kBlockBits = 12;
  static constexpr std::size_t kBlockSize = std::size_t{1} << kBlockBits;

  void append(Record&& record);
  // Removes the first record, in list order, holding `number`; false if none.
  bool removeFirst(std::int32_t number);
  // Records in the list, the removed ones not counted.
  std::size_t size() const { return count_ - removedCount_; }
  // Records the blocks have room for, and positions the marks and the
  // index have room for: what the policy above bounds.
  std::size_t capacity() const { return blocks_.size() * kBlockSize; }
  std::size_t indexCapacity() const {
    return std::max<std::size_t>(removed_.capacity(), index_.capacity());
  }

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
  View compactedView() {
    compact();
    return {blocks_.data(), count_};
  }

  // Calls visit(record) for each record in order while it returns true;
  // false when a visit stopped it. Removed records are skipped, not
  // compacted. A visit that reads words has them asked for a few records
  // ahead (after a sort they lie all over the heap); one that does not, not.
  template <bool kReadsWords = true, typename Visit>
  bool forEach(Visit&& visit) const {
    const View records(blocks_.data(), count_);
    const std::size_t n = records.size();
    const bool marked = removedCount_ != 0;
    for (std::size_t i = 0; i < n; ++i) {
      if (kReadsWords && i + kPrefetchDistance < n) prefetchWords(records[i + kPrefetchDistance]);
      if (marked && removed_[i]) continue;
      if (!visit(records[i])) return false;
    }
    return true;
  }

  // Counts appends and reorders: while it stays, the records keep their
  // relative order (removals keep it too).
  std::uint64_t reorderings() const { return reorderings_; }

  // Moves the record at from[i] to position i, for every position of a
  // view taken since the list last changed: from[0, view.size()) is a
  // permutation of the positions, and is used up (every entry ends as its
  // own position). Compacts first, as the view did.
  void reorder(std::uint32_t* from);

 protected:
  // Where an append's new block comes from (a test may make it fail).
  virtual Record* newBlock() { return std::allocator<Record>().allocate(kBlockSize); }

 private:
  Record* slot(std::size_t i) const { return blocks_[i >> kBlockBits] + (i & (kBlockSize - 1)); }
  Record& at(std::size_t i) { return *slot(i); }
  // The policy's numbers, as the class comment states them.
  static constexpr std::size_t kDropAtRemoval = 2;
  static constexpr std::size_t kDropAtGrowth = 4;
  static constexpr std::size_t kSpareBlocks = 2;
  static constexpr std::size_t kIndexRoom = 4;
  static constexpr std::size_t kIndexFloor = 64;
  // Frees the marks and the index; the next removal builds them again.
  void dropIndex();
  // Drops the removed records, keeping the others in order; cannot fail.
  void compact();
  // Destroys the records from position `kept` on and frees blocks left empty.
  void truncate(std::size_t kept);
  std::vector<Record*> blocks_;  // room for kBlockSize records each
  std::size_t count_ = 0;        // records constructed, removed ones included
  std::uint64_t reorderings_ = 0;
  // From the first removal on, until a reorder: the marks by position, and
  // the index that finds a number's first position not removed.
  bool indexed_ = false;
  std::vector<bool> removed_;
  std::size_t removedCount_ = 0;
  NumberIndex index_;
};
