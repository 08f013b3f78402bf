#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/number_index.h"
#include "record/record.h"

// Removal by contract number in constant time, for a list that only grows
// at its end. A removed record is only marked, the first record with a
// number is found through an index, and the marked records are dropped in
// one pass (compact) when they outnumber the others, when the array is
// full, or before anything walks the list.
class Removals {
 public:
  explicit Removals(std::vector<Record>& records) : records_(records) {}
  Removals(const Removals&) = delete;
  Removals& operator=(const Removals&) = delete;

  // Appends `record` to the list.
  void append(Record&& record);
  // Removes the first record, in list order, that holds `number`; false
  // when none does.
  bool removeFirst(std::int32_t number);
  // Drops the removed records, keeping the others in order. Before anything
  // reads the list as a whole.
  void compact();
  // The list was reordered (the index no longer holds).
  void reordered();
  // Records in the list, the removed ones not counted.
  std::size_t size() const { return records_.size() - removedCount_; }

 private:
  std::vector<Record>& records_;
  std::vector<bool> removed_;  // by position in records_, while indexed_
  std::size_t removedCount_ = 0;
  NumberIndex index_;  // built when a removal first needs it
  bool indexed_ = false;
};
