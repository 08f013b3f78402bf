#pragma once

#include <string>

#include "base/record_list.h"
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
// The sorter keeps its scratch memory from one sort to the next, so that a
// session that sorts again and again does not fault fresh pages in each time,
// and lets it go when it holds more than four times what the list needs.
class FieldSorter {
 public:
  void sort(RecordList& records, std::string Record::*field);
  void sort(RecordList& records, Date Record::*field);

 private:
  field_sort::Scratch scratch_;
};
