#include "search/sort/field_sort.h"

#include <type_traits>

// `field` is a Word or a date of Record.
template <typename F>
void FieldSorter::sortBy(RecordList& records, F field) {
  field_sort::Scratch& scratch = scratch_;
  const RecordList::View list = records.compactedView();
  const std::size_t most = field_sort::mostBytesFor(list.size());
  if (scratch.region.size() > kScratchSlack * most + kScratchFloor) scratch = {};
  if (list.size() >= 2) {
    if constexpr (std::is_same_v<F, Word>) {
      field_sort::orderByString(list, field, scratch);
    } else {
      field_sort::orderByDate(list, field, scratch);
    }
    records.reorder(scratch.from);
  }
  sorted_ = &records;
  sortedBy_ = field;
  sortedAt_ = records.reorderings();
}

void FieldSorter::sort(RecordList& records, Word field) { sortBy(records, field); }

void FieldSorter::sort(RecordList& records, Date Record::*field) { sortBy(records, field); }
