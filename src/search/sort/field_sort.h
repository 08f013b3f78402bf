#pragma once

#include <cstdint>
#include <variant>

#include "list/record_list.h"
#include "record/record.h"
#include "search/sort/sort_parts.h"

// Sorts the list in place by one field, fast: the one place for speed
// tricks (keys, radix passes, prefetching). The list moves its records into
// the order found.
//
// Promise: the list ends in the same order as std::sort would leave it with
// that field's ordering (lessBySurname, lessByDistrict, lessByContractDate,
// lessByLastPaymentDate). Records with equal keys end up in an unspecified
// but deterministic order: the same input always gives the same order.
// Positions are kept in 32 bits: fewer than 2^32 records.
//
// Memory: one scratch region (scratchBytes()) serves every way of sorting,
// kept from one sort to the next so that pages are not faulted in afresh,
// and grown to the largest sort so far, its old memory freed first. A sort
// lets it go first when it is over kScratchSlack times what the most
// demanding way would need for the list, plus kScratchFloor.
class FieldSorter {
 public:
  using Field = std::variant<Word, Date Record::*>;
  void sort(RecordList& records, Word field);
  void sort(RecordList& records, Date Record::*field);
  // True when this sorter sorted `records` by `field` last, and the list
  // has had no append since: it is in that order still.
  bool leftSorted(const RecordList& records, Field field) const {
    return sorted_ == &records && sortedAt_ == records.reorderings() && sortedBy_ == field;
  }
  std::size_t scratchBytes() const { return scratch_.region.size(); }

  static constexpr std::size_t kScratchSlack = 4;
  static constexpr std::size_t kScratchFloor = 4096;

 private:
  template <typename F>
  void sortBy(RecordList& records, F field);

  field_sort::Scratch scratch_;
  // The list sorted last, by which field, at which count of its reorderings.
  const RecordList* sorted_ = nullptr;
  Field sortedBy_;
  std::uint64_t sortedAt_ = 0;
};
