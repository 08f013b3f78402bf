#pragma once

#include <cstdint>
#include <variant>

#include "list/record_list.h"
#include "record/record.h"
#include "search/sort/sort_parts.h"

// Sorts the list in place by one field, fast: the one place for speed
// tricks (keys, radix passes, prefetching). Promise: the list ends in the same order as std::sort
// would leave it with that field's ordering (lessBySurname, lessByDistrict, lessByContractDate,
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
  void sort(RecordList& records, Field field);
  // Whether this sorter sorted `records` by `field` last, with no append since.
  bool leftSorted(const RecordList& records, Field field) const {
    return sorted_ == &records && sortedAt_ == records.reorderings() && sortedBy_ == field;
  }
  std::size_t scratchBytes() const { return scratch_.region.size(); }

  static constexpr std::size_t kScratchSlack = 4;
  static constexpr std::size_t kScratchFloor = 4096;

 private:
  field_sort::Scratch scratch_;
  const RecordList* sorted_ = nullptr;  // the last sort's list, field and time
  Field sortedBy_;
  std::uint64_t sortedAt_ = 0;
};
