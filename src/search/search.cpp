#include "search/search.h"

#include <cstdint>
#include <type_traits>

#include "search/orderings.h"
#include "search/result_files.h"

namespace {

std::string_view fieldOf(const Record& r, Word word) { return r.word(word); }
const Date& fieldOf(const Record& r, Date Record::*date) { return r.*date; }

// The orderings are template arguments, to be inlined; `field` is a Word or a date.
template <auto Less, auto Before, typename Field, typename Key>
std::vector<const Record*> match(RecordList& records, Algorithm algorithm, Field field,
                                 const Key& key, FieldSorter& sorter) {
  constexpr bool kByWord = std::is_same_v<Field, Word>;
  std::vector<const Record*> results;
  if (algorithm == Algorithm::kSequential) {
    // Room for all, so that no growth copies matches; only pages filled are touched.
    results.reserve(records.size());
    records.forEach<kByWord>([&](const Record& r) {
      if (fieldOf(r, field) == key) results.push_back(&r);
      return true;
    });
    return results;
  }
  // A list this sorter left sorted by the field is so still; any other is
  // checked in linear time, and one in order already is left as it is.
  const Record* previous = nullptr;
  const bool sorted =
      sorter.leftSorted(records, field) || records.forEach<kByWord>([&previous](const Record& r) {
        const bool inOrder = previous == nullptr || !Less(r, *previous);
        previous = &r;
        return inOrder;
      });
  if (!sorted) sorter.sort(records, field);
  const RecordList::View list = records.compactedView();
  const std::size_t n = list.size();
  // The first position whose record is not before the key.
  std::size_t first = 0;
  for (std::size_t count = n; count > 0;) {
    const std::size_t half = count / 2;
    if (Before(list[first + half], key)) {
      first += half + 1;
      count -= half + 1;
    } else {
      count = half;
    }
  }
  if (first != n && fieldOf(list[first], field) == key) results.push_back(&list[first]);
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

std::vector<const Record*> findMatches(RecordList& records, Criterion criterion,
                                       Algorithm algorithm, const Query& query,
                                       FieldSorter& sorter) {
  switch (criterion) {
    case Criterion::kSurname:
      return match<lessBySurname, surnameBefore>(records, algorithm, Word::kSurname,
                                                 std::string_view(query.text), sorter);
    case Criterion::kDistrict:
      return match<lessByDistrict, districtBefore>(records, algorithm, Word::kDistrict,
                                                   std::string_view(query.text), sorter);
    case Criterion::kContractDate:
      return match<lessByContractDate, contractDateBefore>(
          records, algorithm, &Record::contractDate, query.date, sorter);
    case Criterion::kLastPaymentDate:
      return match<lessByLastPaymentDate, lastPaymentDateBefore>(
          records, algorithm, &Record::lastPaymentDate, query.date, sorter);
  }
  return {};
}

void runSearch(Console& c, RecordList& records, FieldSorter& sorter) {
  std::int32_t criterion = 0;
  std::int32_t algorithm = 0;
  if (!askNumber(c, kCriterionMenu, 4, criterion)) return;
  if (!askNumber(c, kAlgorithmMenu, 2, algorithm)) return;
  c.write("Введите запрос:");
  Query query;
  const bool byText = criterion <= static_cast<int>(Criterion::kDistrict);
  if (!(byText ? c.readWord(query.text) : c.readDate(query.date))) return;

  const std::vector<const Record*> results = findMatches(
      records, static_cast<Criterion>(criterion), static_cast<Algorithm>(algorithm), query, sorter);
  if (results.empty()) {
    c.write("Ничего не найдено!");
    return;
  }
  if (writeResultFiles(c, results)) c.write("Готово!");
}
