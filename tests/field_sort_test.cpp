#include "search/sort/field_sort.h"

#include <gtest/gtest.h>

#include <random>

#include "search/orderings.h"
#include "test_support.h"

namespace {

// The whole record as text, to check that sorting moved it intact.
std::string RecordLine(const Record& r) {
  return Printed([&r](Output& out) { printRecord(out, r); });
}

// Strings built to stress the sort's windows: lengths around 16 and 32,
// long shared prefixes, zero bytes, bytes above 0x7F, many duplicates.
std::string RandomKey(std::mt19937& rng) {
  static const std::string kPrefixes[] = {"",
                                          "Иванов",
                                          std::string(15, 'a'),
                                          std::string(16, 'a'),
                                          std::string(31, 'b'),
                                          "Константинопольский",
                                          std::string(40, '\xD0')};
  static const char kAlphabet[] = {'\0', 'a', 'b', '\x7F', '\x80', '\xD0', '\xFF'};
  std::string s = kPrefixes[rng() % std::size(kPrefixes)];
  const std::size_t tail = rng() % 4;
  for (std::size_t i = 0; i < tail; ++i) s.push_back(kAlphabet[rng() % std::size(kAlphabet)]);
  return s;
}

// Sorts one list of `records` by each field in turn with `sorter`, as a
// run does, and checks each result against the record ordering; `records`
// must be numbered 0..n-1.
void CheckSortsAgree(FieldSorter& sorter, std::vector<Record> records, const std::string& what) {
  const struct {
    void (*sort)(FieldSorter&, RecordList&);
    bool (*less)(const Record&, const Record&);
    const char* name;
  } orders[] = {
      // Dates first: a region only grows, so a fresh sorter's first sort
      // shows whether that way asks for all the room it takes.
      {[](FieldSorter& s, RecordList& r) { s.sort(r, &Record::contractDate); }, lessByContractDate,
       "contract date"},
      {[](FieldSorter& s, RecordList& r) { s.sort(r, &Record::lastPaymentDate); },
       lessByLastPaymentDate, "last payment"},
      {[](FieldSorter& s, RecordList& r) { s.sort(r, Word::kSurname); }, lessBySurname, "surname"},
      {[](FieldSorter& s, RecordList& r) { s.sort(r, Word::kDistrict); }, lessByDistrict,
       "district"},
  };
  const std::vector<Record> original = records;  // indexed by number
  RecordList list;
  Append(list, std::move(records));
  for (const auto& order : orders) {
    order.sort(sorter, list);
    // The scratch follows the list down, whatever was sorted before: at
    // most four times what the list needs, plus 4096 bytes.
    ASSERT_LE(sorter.scratchBytes(), 4 * field_sort::mostBytesFor(original.size()) + 4096)
        << what << ", by " << order.name;
    const RecordList::View sorted = list.compactedView();
    ASSERT_EQ(sorted.size(), original.size()) << what;
    // Only reordered: every record is whole and each appears once.
    std::vector<bool> seen(sorted.size());
    for (std::size_t i = 0; i < sorted.size(); ++i) {
      const Record& r = sorted[i];
      ASSERT_FALSE(i > 0 && order.less(r, sorted[i - 1])) << what << ", by " << order.name;
      const auto n = static_cast<std::size_t>(r.number);
      ASSERT_LT(n, original.size());
      ASSERT_FALSE(seen[n]) << what << ": record " << n << " twice";
      seen[n] = true;
      ASSERT_EQ(RecordLine(r), RecordLine(original[n])) << what;
    }
  }
}

TEST(FieldSortTest, SortAgreesWithTheOrderingOnAdversarialKeys) {
  std::mt19937 rng(12345);
  const auto value = [&rng] {
    static const std::int32_t kValues[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX};
    return kValues[rng() % std::size(kValues)];
  };
  FieldSorter shared;  // one for most rounds, as one serves a whole run
  for (int round = 0; round < 48; ++round) {
    // The first rounds: two or three records, on a sorter of their own.
    FieldSorter fresh;
    FieldSorter& sorter = round < 8 ? fresh : shared;
    std::vector<Record> records(round < 8 ? 2U + static_cast<unsigned>(round) % 2 : rng() % 300);
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].number = static_cast<std::int32_t>(i);
      const std::string surname = RandomKey(rng);
      records[i].words = RecordWords(surname, RandomKey(rng), "");
      records[i].contractDate = {value(), value(), value()};
      records[i].lastPaymentDate = {value(), value(), value()};
    }
    CheckSortsAgree(sorter, std::move(records), "round " + std::to_string(round));
  }
}

// Large lists go through every sorting path: words that repeat (ranked) or
// mostly differ (radix over windows), dates whose parts span few bits
// (counted), some more (radix passes) or all of them (compared).
TEST(FieldSortTest, LargeListsSortLikeTheOrdering) {
  std::mt19937 rng(777);
  // Past every size at which the sort changes its way, over many blocks.
  const std::size_t n = 70000;
  std::vector<Record> fewBytes(n);
  std::vector<Record> manyBytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    Record& a = fewBytes[i];
    a.number = static_cast<std::int32_t>(i);
    a.words = RecordWords(std::string(15, 'a') + static_cast<char>(rng() % 256),
                          "Центральный" + std::string(rng() % 3, '\0'), "");
    const auto small = [&rng](int base, int span) {
      return base + static_cast<std::int32_t>(rng() % static_cast<unsigned>(span));
    };
    a.contractDate = {small(1, 28), small(1, 12), small(1995, 30)};
    a.lastPaymentDate = {small(-3, 6), small(-300, 600), small(-1, 3)};
    Record& b = manyBytes[i];
    b.number = a.number;
    // Districts tied on 16 bytes, decided by the length past them or the next window.
    const std::string surname = RandomKey(rng);
    b.words = RecordWords(
        surname,
        std::string(15, 'a') + std::string(i % 3, '\0') + (i % 2 ? std::to_string(rng()) : ""), "");
    b.contractDate = {static_cast<std::int32_t>(rng()), static_cast<std::int32_t>(rng()),
                      static_cast<std::int32_t>(rng())};
    // Parts spanning 27 bits in all: too many for counting, few enough for radix passes.
    b.lastPaymentDate = {small(1, 28), small(0, 5000), small(2000, 300)};
  }
  // A seventh: its sorter lets the large region go, as it would not with a slack of 7.
  const std::vector<Record> few(manyBytes.begin(), manyBytes.begin() + n / 7);
  FieldSorter sorter;
  CheckSortsAgree(sorter, std::move(fewBytes), "keys differing in few bytes");
  CheckSortsAgree(sorter, std::move(manyBytes), "keys differing in many bytes");
  // Every way shared one region, as large as the largest way needs.
  EXPECT_EQ(sorter.scratchBytes(), field_sort::mostBytesFor(n));
  CheckSortsAgree(sorter, few, "a small list after a large one");
}

// Each distinct value keeps its number as the table grows, at most half full.
TEST(FieldSortTest, DistinctValuesNumberEachValueOnce) {
  field_sort::DistinctValues values;
  for (int pass = 0; pass < 2; ++pass) {
    for (std::uint32_t k = 0; k < 70000; ++k) {
      ASSERT_TRUE(values.numberOf(std::to_string(k)) == k && 2 * values.size() <= values.slots());
    }
  }
  EXPECT_EQ(values.size(), 70000U);
}

// Dates whose parts span given numbers of bits, each part's range taken
// in full (both ends present): every way of packing them, up to the widths
// where packing must give way, and one part alone spanning all 32 bits.
TEST(FieldSortTest, DatesSortAtEveryPackedWidth) {
  // First the smallest lists (one with a part of 32 bits), and as many buckets as records or one
  // more, each on a sorter of its own; then, at the edges of the 11-bit radix passes: 12 bits are
  // counted, 13 take two passes, the second short, 22 two full ones, 23 three.
  const struct {
    int dayBits, monthBits, yearBits, records;
  } widths[] = {
      {0, 0, 1, 2},      {1, 1, 0, 3},       {4, 4, 4, 2},       {32, 0, 0, 3},
      {4, 4, 4, 4096},   {4, 4, 4, 4095},    {5, 4, 4, 4096},    {4, 4, 4, 5000},
      {5, 4, 4, 5000},   {8, 8, 6, 5000},    {8, 8, 7, 5000},    {5, 4, 2, 5000},
      {6, 6, 8, 5000},   {7, 7, 7, 5000},    {7, 7, 17, 5000},   {0, 0, 31, 5000},
      {32, 0, 0, 5000},  {0, 32, 0, 5000},   {0, 0, 32, 5000},   {1, 32, 0, 5000},
      {16, 0, 32, 5000}, {16, 16, 16, 5000}, {0, 32, 16, 5000},  {32, 32, 0, 5000},
      {32, 0, 32, 5000}, {0, 32, 32, 5000},  {32, 32, 32, 5000},
  };
  std::mt19937 rng(2024);
  // A part spanning `bits` bits: from INT32_MIN on, so that 32 bits reach INT32_MAX.
  const auto part = [&rng](int bits, std::size_t i) {
    const std::uint32_t span = bits == 32 ? UINT32_MAX : (std::uint32_t{1} << bits) - 1;
    const std::uint32_t offset = i == 0 ? 0
                                 : i == 1
                                     ? span
                                     : (span == 0 ? 0 : static_cast<std::uint32_t>(rng() % span));
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(INT32_MIN) + offset);
  };
  FieldSorter shared;
  for (const auto& w : widths) {
    FieldSorter fresh;
    FieldSorter& sorter = w.records < 5000 ? fresh : shared;
    std::vector<Record> records(static_cast<std::size_t>(w.records));
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].number = static_cast<std::int32_t>(i);
      records[i].contractDate = {part(w.dayBits, i), part(w.monthBits, i), part(w.yearBits, i)};
      records[i].lastPaymentDate = {part(w.dayBits, i) / 2, part(w.monthBits, i),
                                    part(w.yearBits, i)};
    }
    CheckSortsAgree(sorter, std::move(records),
                    "day, month, year bits " + std::to_string(w.dayBits) + ", " +
                        std::to_string(w.monthBits) + ", " + std::to_string(w.yearBits));
  }
}

}  // namespace
