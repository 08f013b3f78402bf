#include "search/sort/field_sort.h"

void FieldSorter::sort(RecordList& records, std::string Record::*field) {
  const RecordList::View list = records.view();
  if (list.size() < 2) return;
  field_sort::orderByString(list, field, scratch_);
  records.reorder(scratch_.from);
}

void FieldSorter::sort(RecordList& records, Date Record::*field) {
  const RecordList::View list = records.view();
  if (list.size() < 2) return;
  field_sort::orderByDate(list, field, scratch_);
  records.reorder(scratch_.from);
}

namespace field_sort {

void Region::reset(std::size_t bytes) {
  if (bytes > size_) {
    // The old memory goes first: the two are never held at once.
    memory_.reset();
    size_ = 0;
    memory_.reset(new std::byte[bytes]);
    size_ = bytes;
  }
  used_ = 0;
}

}  // namespace field_sort
