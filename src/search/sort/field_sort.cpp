#include "search/sort/field_sort.h"

void FieldSorter::sort(RecordList& records, Field field) {
  const RecordList::View list = records.compactedView();
  const std::size_t most = field_sort::mostBytesFor(list.size());
  if (scratch_.region.size() > kScratchSlack * most + kScratchFloor) scratch_ = {};
  if (list.size() >= 2) {
    if (const Word* word = std::get_if<Word>(&field)) {
      field_sort::orderByString(list, *word, scratch_);
    } else {
      field_sort::orderByDate(list, std::get<Date Record::*>(field), scratch_);
    }
    records.reorder(scratch_.from);
  }
  sorted_ = &records;
  sortedBy_ = field;
  sortedAt_ = records.reorderings();
}
