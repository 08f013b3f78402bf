#include "search/sort/field_sort.h"

#include <type_traits>

namespace {

// `field` is a Word or a date of Record.
template <typename Field>
void sortBy(RecordList& records, Field field, field_sort::Scratch& scratch) {
  const RecordList::View list = records.compactedView();
  const std::size_t most = field_sort::mostBytesFor(list.size());
  if (scratch.region.size() > FieldSorter::kScratchSlack * most + FieldSorter::kScratchFloor) {
    scratch = {};
  }
  if (list.size() < 2) return;
  if constexpr (std::is_same_v<Field, Word>) {
    field_sort::orderByString(list, field, scratch);
  } else {
    field_sort::orderByDate(list, field, scratch);
  }
  records.reorder(scratch.from);
}

}  // namespace

void FieldSorter::sort(RecordList& records, Word field) { sortBy(records, field, scratch_); }

void FieldSorter::sort(RecordList& records, Date Record::*field) {
  sortBy(records, field, scratch_);
}
