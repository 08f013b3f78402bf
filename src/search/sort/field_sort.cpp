#include "search/sort/field_sort.h"

#include <type_traits>

namespace {

template <typename Field>
void sortBy(RecordList& records, Field Record::*field, field_sort::Scratch& scratch) {
  const RecordList::View list = records.view();
  // Memory follows the lists sorted down.
  if (scratch.from.size() > 4 * list.size() + 4096) scratch = {};
  if (list.size() < 2) return;
  if constexpr (std::is_same_v<Field, Date>) {
    field_sort::orderByDate(list, field, scratch);
  } else {
    field_sort::orderByString(list, field, scratch);
  }
  records.reorder(scratch.from.data());
}

}  // namespace

void FieldSorter::sort(RecordList& records, std::string Record::*field) {
  sortBy(records, field, scratch_);
}

void FieldSorter::sort(RecordList& records, Date Record::*field) {
  sortBy(records, field, scratch_);
}
