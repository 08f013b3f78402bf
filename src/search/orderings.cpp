#include "search/orderings.h"

namespace {

bool dateBefore(const Date& a, const Date& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}

}  // namespace

// std::string_view compares through char_traits<char>, which orders bytes
// as unsigned values: exactly the byte order wanted here.
bool lessBySurname(const Record& a, const Record& b) { return a.surname() < b.surname(); }
bool lessByDistrict(const Record& a, const Record& b) { return a.district() < b.district(); }
bool lessByContractDate(const Record& a, const Record& b) {
  return dateBefore(a.contractDate, b.contractDate);
}
bool lessByLastPaymentDate(const Record& a, const Record& b) {
  return dateBefore(a.lastPaymentDate, b.lastPaymentDate);
}

bool surnameBefore(const Record& r, std::string_view key) { return r.surname() < key; }
bool districtBefore(const Record& r, std::string_view key) { return r.district() < key; }
bool contractDateBefore(const Record& r, Date key) { return dateBefore(r.contractDate, key); }
bool lastPaymentDateBefore(const Record& r, Date key) { return dateBefore(r.lastPaymentDate, key); }
