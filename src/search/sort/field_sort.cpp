#include "search/sort/field_sort.h"

#include <type_traits>

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

namespace {

template <typename Field>
void sortBy(RecordList& records, Field Record::*field, field_sort::Scratch& scratch) {
  const RecordList::View list = records.view();
  // Memory follows the lists sorted down.
  if (scratch.region.size() > FieldSorter::kScratchSlack * field_sort::mostBytesFor(list.size()) +
                                  FieldSorter::kScratchFloor) {
    scratch = {};
  }
  if (list.size() < 2) return;
  if constexpr (std::is_same_v<Field, Date>) {
    field_sort::orderByDate(list, field, scratch);
  } else {
    field_sort::orderByString(list, field, scratch);
  }
  records.reorder(scratch.from);
}

}  // namespace

void FieldSorter::sort(RecordList& records, std::string Record::*field) {
  sortBy(records, field, scratch_);
}

void FieldSorter::sort(RecordList& records, Date Record::*field) {
  sortBy(records, field, scratch_);
}
