#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "base/number_index.h"
#include "io/console.h"
#include "record/record.h"

// The run's one list of subscribers, one member per menu operation. Every
// operation stops as soon as the input ends (see Console::ended).
//
// Removing is constant time at any scale: a removed record is only marked,
// the first record with a number is found through an index, and the marked
// records are dropped in one pass when they outnumber the others, when the
// array is full, or before anything walks the list.
class SubscriberBase {
 public:
  explicit SubscriberBase(Console& console) : console_(console) {}
  SubscriberBase(const SubscriberBase&) = delete;
  SubscriberBase& operator=(const SubscriberBase&) = delete;

  // Asks for the nine fields and appends the record.
  void add();
  // Lists every record under the header line, in the current order.
  void print();
  // Deletes the first record with the contract number asked for.
  void remove();
  // Deletes the first record with the number asked for, then runs add.
  void replace();
  // Asks for a criterion, an algorithm and a query; writes what it finds to
  // the result files. Binary search sorts the list by the criterion first.
  void search();

  // How many records the list holds (for the fuzz harness's check of the
  // list against the dialogue).
  std::size_t size() const { return records.size() - removedCount_; }

 private:
  // Asks for a contract number and removes the first record holding it;
  // false after saying there is none (or when the input ended).
  bool removeAskedFor(std::string_view prompt);
  // Drops the marked records, keeping the others in order (and the index
  // in step).
  void compact();
  void dropIndex();

  Console& console_;
  std::vector<Record> records;
  std::vector<bool> removed_;  // by position in `records`
  std::size_t removedCount_ = 0;
  NumberIndex index_;  // built when a removal first needs it
  bool indexed_ = false;
};
