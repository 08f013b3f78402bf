#include "search/sort/field_sort.h"

#include <algorithm>
#include <cstdint>
#include <limits>

#include "search/orderings.h"

namespace {

// Positions are kept in 32 bits; a longer list is sorted the plain way.
bool tooLongForPositions(const std::vector<Record>& records) {
  return records.size() > std::numeric_limits<std::uint32_t>::max();
}

}  // namespace

void FieldSorter::sort(std::vector<Record>& records, std::string Record::*field) {
  if (records.size() < 2) return;
  if (tooLongForPositions(records)) {
    // char_traits<char> compares bytes as unsigned values, as the orderings do.
    std::sort(records.begin(), records.end(),
              [field](const Record& a, const Record& b) { return a.*field < b.*field; });
    return;
  }
  field_sort::orderByString(records, field, scratch_);
  field_sort::moveIntoOrder(records, scratch_);
}

void FieldSorter::sort(std::vector<Record>& records, Date Record::*field) {
  if (records.size() < 2) return;
  if (tooLongForPositions(records)) {
    std::sort(records.begin(), records.end(),
              [field](const Record& a, const Record& b) { return dateBefore(a.*field, b.*field); });
    return;
  }
  field_sort::orderByDate(records, field, scratch_);
  field_sort::moveIntoOrder(records, scratch_);
}
