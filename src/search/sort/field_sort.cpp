#include "search/sort/field_sort.h"

void FieldSorter::sort(std::vector<Record>& records, std::string Record::*field) {
  if (records.size() < 2) return;
  field_sort::orderByString(records, field, scratch_);
  field_sort::moveIntoOrder(records, scratch_);
}

void FieldSorter::sort(std::vector<Record>& records, Date Record::*field) {
  if (records.size() < 2) return;
  field_sort::orderByDate(records, field, scratch_);
  field_sort::moveIntoOrder(records, scratch_);
}
