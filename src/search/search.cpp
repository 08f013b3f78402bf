#include "search/search.h"

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <fstream>

#include "base/subscriber_base.h"

bool dateBefore(const Date& a, const Date& b) {
  if (a.year != b.year) return a.year < b.year;
  if (a.month != b.month) return a.month < b.month;
  return a.day < b.day;
}

// std::string compares through char_traits<char>, which orders bytes as
// unsigned values: exactly the byte order wanted here.
bool lessBySurname(const Record& a, const Record& b) { return a.surname < b.surname; }
bool lessByDistrict(const Record& a, const Record& b) { return a.district < b.district; }
bool lessByContractDate(const Record& a, const Record& b) {
  return dateBefore(a.contractDate, b.contractDate);
}
bool lessByLastPaymentDate(const Record& a, const Record& b) {
  return dateBefore(a.lastPaymentDate, b.lastPaymentDate);
}

bool surnameBefore(const Record& r, const std::string& key) { return r.surname < key; }
bool districtBefore(const Record& r, const std::string& key) { return r.district < key; }
bool contractDateBefore(const Record& r, Date key) { return dateBefore(r.contractDate, key); }
bool lastPaymentDateBefore(const Record& r, Date key) { return dateBefore(r.lastPaymentDate, key); }

namespace {

// The orderings are template arguments so that sort and lower_bound inline them.
template <auto Less, auto Before, typename Field>
std::vector<const Record*> match(std::vector<Record>& records, Algorithm algorithm,
                                 Field Record::*field, const Field& key) {
  std::vector<const Record*> results;
  if (algorithm == Algorithm::kSequential) {
    for (const Record& r : records) {
      if (r.*field == key) results.push_back(&r);
    }
    return results;
  }
  auto less = [](const Record& a, const Record& b) { return Less(a, b); };
  // Checking the order is linear; repeated searches on one field skip the sort.
  if (!std::is_sorted(records.begin(), records.end(), less)) {
    std::sort(records.begin(), records.end(), less);
  }
  auto it = std::lower_bound(records.begin(), records.end(), key,
                             [](const Record& r, const Field& k) { return Before(r, k); });
  if (it != records.end() && (*it).*field == key) results.push_back(&*it);
  return results;
}

constexpr std::string_view kCriterionMenu =
    "Выберите критерий поиска:\n1.Фамилия\n2.Район\n3.Дата заключения договора\n4.Дата "
    "последнего платежа\n";
constexpr std::string_view kAlgorithmMenu =
    "Выберите алгоритм поиска:\n1.Последовательный\n2.Двоичный\n";

// Writes `menu` and reads a number until it lies in [1, last]. Anything that
// is not a number counts as out of range. False at end of input.
bool askNumber(Console& console, std::string_view menu, std::int32_t last, std::int32_t& value) {
  for (;;) {
    console.write(menu);
    const ItemReader::IntStatus status = console.readIntegerOnce(value);
    if (status == ItemReader::IntStatus::kEnd) return false;
    if (status == ItemReader::IntStatus::kOk && value >= 1 && value <= last) return true;
  }
}

}  // namespace

std::vector<const Record*> findMatches(std::vector<Record>& records, Criterion criterion,
                                       Algorithm algorithm, const Query& query) {
  switch (criterion) {
    case Criterion::kSurname:
      return match<lessBySurname, surnameBefore>(records, algorithm, &Record::surname, query.text);
    case Criterion::kDistrict:
      return match<lessByDistrict, districtBefore>(records, algorithm, &Record::district,
                                                   query.text);
    case Criterion::kContractDate:
      return match<lessByContractDate, contractDateBefore>(records, algorithm,
                                                           &Record::contractDate, query.date);
    case Criterion::kLastPaymentDate:
      return match<lessByLastPaymentDate, lastPaymentDateBefore>(
          records, algorithm, &Record::lastPaymentDate, query.date);
  }
  return {};
}

std::string writeResultFile(const char* name, const std::vector<const Record*>& results,
                            bool reversed) {
  // The buffer outlives the stream, which uses it until it is closed.
  std::vector<char> buffer(std::size_t{1} << 16);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  errno = 0;
  out.open(name, std::ios::out | std::ios::trunc);
  if (out.is_open()) {
    auto writeOne = [&out](const Record* r) {
      writeHeaderLine(out);
      printRecord(out, *r);
    };
    if (reversed) {
      std::for_each(results.rbegin(), results.rend(), writeOne);
    } else {
      std::for_each(results.begin(), results.end(), writeOne);
    }
    out.close();
    if (!out.fail()) return {};
  }
  const int error = errno != 0 ? errno : EIO;
  return std::string("Не удалось записать файл ") + name + ": " + std::strerror(error);
}

void SubscriberBase::search() {
  Console& c = console_;
  std::int32_t criterion = 0;
  std::int32_t type = 0;
  if (!askNumber(c, kCriterionMenu, 4, criterion)) return;
  if (!askNumber(c, kAlgorithmMenu, 2, type)) return;
  c.write("Введите запрос:");
  Query query;
  const bool byText = criterion <= static_cast<int>(Criterion::kDistrict);
  if (!(byText ? c.readWord(query.text) : c.readDate(query.date))) return;

  const std::vector<const Record*> results =
      findMatches(records, static_cast<Criterion>(criterion), static_cast<Algorithm>(type), query);
  if (results.empty()) {
    c.write("Ничего не найдено!");
    return;
  }
  // The reversed file is opened only after the forward one is closed, and is
  // written even when the forward one failed.
  bool complete = true;
  for (const bool reversed : {false, true}) {
    const std::string error =
        writeResultFile(reversed ? kReversedFile : kForwardFile, results, reversed);
    if (!error.empty()) {
      c.reportError(error);
      complete = false;
    }
  }
  if (complete) c.write("Готово!");
}
