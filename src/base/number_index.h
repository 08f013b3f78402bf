#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <unordered_map>
#include <vector>

#include "record/record.h"

// Where each contract number stands in the list: for every number, the
// positions of its records in list order, so that the first one is found
// in constant time. Positions only grow (records are appended), and only the
// first position of a number is ever taken, so each number keeps a queue.
class NumberIndex {
 public:
  // Indexes records[i] for every i not marked in `removed` (same size).
  void build(const std::vector<Record>& records, const std::vector<bool>& removed);
  // Notes a record appended at `position`, after every position indexed.
  void append(std::int32_t number, std::size_t position);
  // Removes the first position of `number` from the index and returns it;
  // nothing when no record holds the number.
  std::optional<std::size_t> takeFirst(std::int32_t number);
  void clear();

 private:
  static constexpr std::uint32_t kNone = UINT32_MAX;
  struct Queue {
    std::uint32_t first;
    std::uint32_t last;
  };
  std::unordered_map<std::int32_t, Queue> queues_;
  std::vector<std::uint32_t> next_;  // by position: the next with the same number
};
