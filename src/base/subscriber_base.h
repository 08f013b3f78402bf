#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "io/console.h"
#include "list/record_list.h"
#include "record/record.h"
#include "search/sort/field_sort.h"

// The run's one list of subscribers, one member per menu operation. Every
// operation stops as soon as the input ends (see Console::ended).
class SubscriberBase {
 public:
  explicit SubscriberBase(Console& console) : console_(console) {}
  SubscriberBase(const SubscriberBase&) = delete;
  SubscriberBase& operator=(const SubscriberBase&) = delete;

  // Asks for the nine fields and appends the record.
  void add();
  // Lists every record under the header line, in the current order.
  void print();
  // Deletes the first record with the contract number asked for (replace:
  // then runs add).
  void remove();
  void replace();
  // Asks for a criterion, an algorithm and a query; writes what it finds to
  // the result files. Binary search sorts the list by the criterion first.
  void search();

 private:
  // Asks for the nine fields; false when the input ended first.
  bool readRecord(Record& r);
  // Asks for a contract number and removes the first record holding it;
  // false after saying there is none (or when the input ended).
  bool removeAskedFor(std::string_view prompt);

  static constexpr std::size_t kWordsKept = std::size_t{1} << 16;

  Console& console_;
  std::string words_;  // readRecord's, kept for its capacity
  RecordList records;
  FieldSorter sorter_;
};
