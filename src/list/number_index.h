#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

// Where each contract number stands in the list: for every number, the
// positions of its records in list order, so that the first one is found
// in constant time. Positions only grow (records are appended), and only the
// first position of a number is ever taken, so each number keeps a queue:
// its first and last position here, the links between them in `next_`.
class NumberIndex {
 public:
  // Makes room for `records` positions, to be appended.
  void reserve(std::size_t records);
  // Notes a record appended at `position`, after every position indexed.
  // When it fails (std::bad_alloc), the index is as it was.
  void append(std::int32_t number, std::size_t position);
  // Positions it has room for: its table has a slot for a number per four
  // (at least kSmallest slots), its vectors an entry per position.
  std::size_t capacity() const {
    return std::max({next_.capacity(), moved_.capacity(), queues_.size() / 4});
  }
  // Removes the first position of `number` from the index and returns it;
  // nothing when no record holds the number.
  std::optional<std::size_t> takeFirst(std::int32_t number);
  // Follows the list as the records marked in `removed` (none indexed) are
  // dropped and the others move up in order: O(removed.size()), in place,
  // allocating nothing. It never shrinks: its owner drops it when too big.
  void dropRemoved(const std::vector<bool>& removed);

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  static constexpr std::size_t kSmallest = 64;  // slots at the least
  // One number's queue; a slot whose `first` is kNone is free.
  struct Queue {
    std::int32_t number;
    std::uint32_t first;
    std::uint32_t last;
  };

  // The slot of `number`, or the free slot where it would go.
  std::size_t slotOf(std::int32_t number) const;
  std::size_t home(std::int32_t number) const;
  // Frees slot `at`, moving later entries back so that lookups still find
  // them (linear probing keeps no tombstones).
  void erase(std::size_t at);
  // Moves every entry into a table of `size` slots.
  void resize(std::size_t size);

  std::vector<Queue> queues_;        // open addressing, a power of two in size
  std::size_t used_ = 0;             // slots holding a number
  std::vector<std::uint32_t> next_;  // by position: the next with the same number
  // dropRemoved's: old position to new, with room for every position.
  std::vector<std::uint32_t> moved_;
};
