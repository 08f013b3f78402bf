// Times the field sort alone: N generated records (Cyrillic surnames and
// districts that repeat, dates over thirty years, as bench/gen.py writes
// them), then, per criterion, R sorts of the list in insertion order with
// one sorter, as a run of the program keeps it. One line per criterion:
// the first sort, and the median and best of the others, in milliseconds.
//
// usage: sort_driver [N] [R] [--wide-dates]   (--help says more)
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "driver_args.h"
#include "search/sort/field_sort.h"

namespace {

std::vector<Record> Generate(std::size_t n, bool wideDates) {
  static const char* const kSurnames[] = {"Иванов",
                                          "Петрова",
                                          "Сидоров",
                                          "Смирнова",
                                          "Кузнецов",
                                          "Попова",
                                          "Васильев",
                                          "Соколова",
                                          "Михайлов",
                                          "Новикова",
                                          "Фёдоров",
                                          "Морозова",
                                          "Волков",
                                          "Алексеева",
                                          "Константинопольский",
                                          "Преображенская",
                                          "Христорождественский",
                                          "Ли",
                                          "Ким",
                                          "Ab"};
  static const char* const kDistricts[] = {"Центральный",     "Северный",      "Южный",
                                           "Ленинский",       "Кировский",     "Октябрьский",
                                           "Железнодорожный", "Петроградский", "Выборгский"};
  std::mt19937 rng(1);
  const auto pick = [&rng](std::uint32_t count) { return rng() % count; };
  const auto any = [&rng] { return static_cast<std::int32_t>(rng()); };
  std::vector<Record> records(n);
  for (std::size_t i = 0; i < n; ++i) {
    Record& r = records[i];
    r.number = static_cast<std::int32_t>(i);
    std::string surname = kSurnames[pick(std::size(kSurnames))];
    if (pick(10) < 7) surname += "-" + std::to_string(pick(1000));
    const std::string district = kDistricts[pick(10) < 4 ? 0 : pick(std::size(kDistricts))];
    r.words = RecordWords(surname, district, "ул.Ленина," + std::to_string(pick(200)));
    const auto year = static_cast<std::int32_t>(1995 + pick(30));
    if (wideDates) {
      r.contractDate = {any(), any(), any()};
      r.lastPaymentDate = {any(), any(), any()};
    } else {
      r.contractDate = {static_cast<std::int32_t>(1 + pick(28)),
                        static_cast<std::int32_t>(1 + pick(12)), year};
      r.lastPaymentDate = {static_cast<std::int32_t>(1 + pick(28)),
                           static_cast<std::int32_t>(1 + pick(12)),
                           year + static_cast<std::int32_t>(pick(3))};
    }
  }
  return records;
}

template <typename Field>
void TimeSorts(const char* name, const std::vector<Record>& original, Field field,
               FieldSorter& sorter, int rounds) {
  std::vector<double> ms;
  for (int round = 0; round < rounds; ++round) {
    RecordList records;
    for (const Record& r : original) records.append(Record(r));
    const auto start = std::chrono::steady_clock::now();
    sorter.sort(records, field);
    const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - start;
    ms.push_back(took.count());
  }
  const double first = ms.front();
  std::vector<double> rest(ms.begin() + 1, ms.end());
  std::sort(rest.begin(), rest.end());
  if (rest.empty()) rest.push_back(first);
  std::printf("%-14s first %8.1f ms   then median %8.1f ms, best %8.1f ms\n", name, first,
              rest[rest.size() / 2], rest.front());
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: sort_driver [N] [R] [--wide-dates]\n"
      "  N records (1 to 100000000, default 1000000), sorted R times by each criterion\n"
      "  (1 to 1000, default 5); --wide-dates: dates over the whole integer range\n";
  std::size_t n = 1000000;
  int rounds = 5;
  bool wideDates = false;
  int positional = 0;
  for (int i = 1; i < argc; ++i) {
    if (AsksForHelp(argv[i])) {
      std::fputs(kUsage, stdout);
      return 0;
    }
    std::size_t value = 0;
    if (std::strcmp(argv[i], "--wide-dates") == 0) {
      wideDates = true;
    } else if (positional == 0 && (value = Count(argv[i], 100000000)) != 0) {
      n = value;
      ++positional;
    } else if (positional == 1 && (value = Count(argv[i], 1000)) != 0) {
      rounds = static_cast<int>(value);
      ++positional;
    } else {
      std::fprintf(stderr, "sort_driver: not a valid argument: %s\n%s", argv[i], kUsage);
      return 2;
    }
  }
  const std::vector<Record> original = Generate(n, wideDates);
  std::printf("N = %zu, %d sorts per criterion%s\n", n, rounds,
              wideDates ? ", dates over the whole integer range" : "");
  FieldSorter sorter;
  TimeSorts("surname", original, Word::kSurname, sorter, rounds);
  TimeSorts("district", original, Word::kDistrict, sorter, rounds);
  TimeSorts("contract date", original, &Record::contractDate, sorter, rounds);
  TimeSorts("last payment", original, &Record::lastPaymentDate, sorter, rounds);
}
