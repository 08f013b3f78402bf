#include "search/search.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>

#include "test_support.h"

namespace {

Record Person(std::int32_t number, std::string surname, std::string district = "D",
              Date contract = {1, 1, 2000}, Date payment = {1, 1, 2001}) {
  Record r;
  r.number = number;
  r.surname = std::move(surname);
  r.district = std::move(district);
  r.address = "A";
  r.contractDate = contract;
  r.lastPaymentDate = payment;
  return r;
}

Query ByText(std::string text) { return Query{std::move(text), {}}; }
Query ByDate(Date date) { return Query{{}, date}; }

std::vector<std::int32_t> Numbers(const std::vector<const Record*>& found) {
  std::vector<std::int32_t> numbers;
  numbers.reserve(found.size());
  for (const Record* r : found) numbers.push_back(r->number);
  return numbers;
}

std::vector<std::int32_t> Numbers(const std::vector<Record>& records) {
  std::vector<std::int32_t> numbers;
  numbers.reserve(records.size());
  for (const Record& r : records) numbers.push_back(r.number);
  return numbers;
}

TEST(OrderingTest, StringsCompareByUnsignedBytesPrefixFirst) {
  const struct {
    std::string a;
    std::string b;
    bool less;
  } cases[] = {
      {"Иван", "Иванов", true}, {"Иванов", "Иван", false},   {"Иванов", "Иванов", false},
      {"", "a", true},          {"Zebra", "Ёж", true},  // ASCII bytes lie below every Cyrillic byte
      {"Ёж", "Zebra", false},   {"Петров", "Иванов", false}, {"Иванов", "иванов", true},
      {"\x7F", "\x80", true},   {"\xFF", "\x80", false},     {"ab", "b", true},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(lessBySurname(Person(1, c.a), Person(2, c.b)), c.less) << c.a << " < " << c.b;
    EXPECT_EQ(lessByDistrict(Person(1, "x", c.a), Person(2, "x", c.b)), c.less)
        << c.a << " < " << c.b;
    EXPECT_EQ(surnameBefore(Person(1, c.a), c.b), c.less) << c.a << " < " << c.b;
    EXPECT_EQ(districtBefore(Person(1, "x", c.a), c.b), c.less) << c.a << " < " << c.b;
  }
}

TEST(OrderingTest, DatesCompareByYearThenMonthThenDay) {
  const struct {
    Date a;
    Date b;
    bool less;
  } cases[] = {
      {{31, 12, 2009}, {1, 1, 2010}, true}, {{1, 1, 2010}, {31, 12, 2009}, false},
      {{5, 3, 2010}, {4, 4, 2010}, true},   {{4, 4, 2010}, {5, 3, 2010}, false},
      {{1, 2, 2010}, {2, 2, 2010}, true},   {{2, 2, 2010}, {2, 2, 2010}, false},
      {{0, 13, 2010}, {1, 1, 2011}, true},  {{1, 1, -5}, {1, 1, 0}, true},
  };
  for (const auto& c : cases) {
    const std::string what = std::to_string(c.a.day) + "." + std::to_string(c.a.month) + "." +
                             std::to_string(c.a.year) + " < " + std::to_string(c.b.day) + "." +
                             std::to_string(c.b.month) + "." + std::to_string(c.b.year);
    EXPECT_EQ(lessByContractDate(Person(1, "x", "d", c.a), Person(2, "x", "d", c.b)), c.less)
        << what;
    EXPECT_EQ(lessByLastPaymentDate(Person(1, "x", "d", {}, c.a), Person(2, "x", "d", {}, c.b)),
              c.less)
        << what;
    EXPECT_EQ(contractDateBefore(Person(1, "x", "d", c.a), c.b), c.less) << what;
    EXPECT_EQ(lastPaymentDateBefore(Person(1, "x", "d", {}, c.a), c.b), c.less) << what;
  }
}

std::vector<Record> Sample() {
  return {
      Person(1, "Петров", "Север", {1, 2, 2010}, {5, 5, 2011}),
      Person(2, "Иванов", "Центр", {2, 1, 2010}, {1, 2, 2010}),
      Person(3, "Сидоров", "Центр", {1, 2, 2010}, {6, 6, 2011}),
      Person(4, "Иванов", "Юг", {3, 3, 2009}, {1, 2, 2010}),
      Person(5, "Иван", "Север", {1, 2, 2011}, {7, 7, 2012}),
  };
}

TEST(SequentialSearchTest, FindsAllMatchesInListOrderAndKeepsTheOrder) {
  struct Case {
    Criterion criterion;
    Query query;
    std::vector<std::int32_t> found;
  };
  const std::vector<Case> cases = {
      {Criterion::kSurname, ByText("Иванов"), {2, 4}},
      {Criterion::kSurname, ByText("Иван"), {5}},
      {Criterion::kSurname, ByText("иванов"), {}},
      {Criterion::kSurname, ByText("Ива"), {}},
      {Criterion::kDistrict, ByText("Центр"), {2, 3}},
      {Criterion::kDistrict, ByText("Север"), {1, 5}},
      {Criterion::kContractDate, ByDate({1, 2, 2010}), {1, 3}},
      {Criterion::kContractDate, ByDate({2, 1, 2010}), {2}},
      {Criterion::kContractDate, ByDate({1, 2, 2010 + 1}), {5}},
      // Only the date of last payment counts for criterion 4.
      {Criterion::kLastPaymentDate, ByDate({1, 2, 2010}), {2, 4}},
      {Criterion::kLastPaymentDate, ByDate({2, 1, 2010}), {}},
  };
  for (const auto& c : cases) {
    std::vector<Record> records = Sample();
    EXPECT_EQ(Numbers(findMatches(records, c.criterion, Algorithm::kSequential, c.query)), c.found)
        << "criterion " << static_cast<int>(c.criterion) << " query " << c.query.text;
    EXPECT_EQ(Numbers(records), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  }
}

TEST(BinarySearchTest, SortsByTheFieldAndFindsAtMostOne) {
  struct Case {
    Criterion criterion;
    Query query;
    std::size_t found;  // how many records, all with the queried key
    std::vector<std::string> surnamesAfter;
  };
  const std::vector<Case> cases = {
      {Criterion::kSurname, ByText("Иванов"), 1, {"Иван", "Иванов", "Иванов", "Петров", "Сидоров"}},
      {Criterion::kSurname, ByText("Иван"), 1, {"Иван", "Иванов", "Иванов", "Петров", "Сидоров"}},
      // Before all keys, between two keys, after all keys.
      {Criterion::kSurname, ByText("Аа"), 0, {"Иван", "Иванов", "Иванов", "Петров", "Сидоров"}},
      {Criterion::kSurname,
       ByText("Ивановa"),
       0,
       {"Иван", "Иванов", "Иванов", "Петров", "Сидоров"}},
      {Criterion::kSurname, ByText("Яков"), 0, {"Иван", "Иванов", "Иванов", "Петров", "Сидоров"}},
  };
  for (const auto& c : cases) {
    std::vector<Record> records = Sample();
    const auto found = findMatches(records, c.criterion, Algorithm::kBinary, c.query);
    ASSERT_EQ(found.size(), c.found) << c.query.text;
    if (!found.empty()) {
      EXPECT_EQ(found[0]->surname, c.query.text);
      // The first of the equal keys in the new order.
      EXPECT_TRUE(found[0] == &records.front() || (found[0] - 1)->surname != c.query.text);
    }
    std::vector<std::string> after(records.size());
    std::transform(records.begin(), records.end(), after.begin(),
                   [](const Record& r) { return r.surname; });
    EXPECT_EQ(after, c.surnamesAfter) << c.query.text;
  }
}

TEST(BinarySearchTest, SortsByDatesAndDistricts) {
  std::vector<Record> records = Sample();
  auto found =
      findMatches(records, Criterion::kContractDate, Algorithm::kBinary, ByDate({1, 2, 2010}));
  ASSERT_EQ(found.size(), 1U);
  EXPECT_TRUE(found[0]->number == 1 || found[0]->number == 3);
  EXPECT_EQ(records[0].number, 4);
  EXPECT_EQ(records[1].number, 2);
  EXPECT_EQ(records[4].number, 5);
  EXPECT_EQ(found[0], &records[2]);

  found =
      findMatches(records, Criterion::kLastPaymentDate, Algorithm::kBinary, ByDate({6, 6, 2011}));
  ASSERT_EQ(Numbers(found), std::vector<std::int32_t>{3});
  EXPECT_EQ(records[2].number, 1);
  EXPECT_EQ(records[3].number, 3);
  EXPECT_EQ(records[4].number, 5);

  // Between two keys: nothing found, yet the list is left sorted.
  found = findMatches(records, Criterion::kDistrict, Algorithm::kBinary, ByText("Фронт"));
  EXPECT_TRUE(found.empty());
  EXPECT_TRUE(std::is_sorted(records.begin(), records.end(), lessByDistrict));
}

TEST(BinarySearchTest, EmptyListFindsNothing) {
  std::vector<Record> records;
  for (int criterion = 1; criterion <= 4; ++criterion) {
    EXPECT_TRUE(findMatches(records, static_cast<Criterion>(criterion), Algorithm::kBinary,
                            {"x", {1, 1, 1}})
                    .empty());
  }
}

TEST(BinarySearchTest, SequentialAfterBinaryReportsInTheSortedOrder) {
  std::vector<Record> records = Sample();
  findMatches(records, Criterion::kSurname, Algorithm::kBinary, ByText("Петров"));
  EXPECT_EQ(
      Numbers(findMatches(records, Criterion::kDistrict, Algorithm::kSequential, ByText("Север"))),
      (std::vector<std::int32_t>{5, 1}));
}

// The search dialogue, through the menu: these need a scratch directory
// because a search that finds something writes files.
class SearchDialogueTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

std::string AddOf(const std::string& fields) { return "1 " + fields + "\n"; }

const std::string kThree = AddOf("1 Иванов Центр A 1 2 3 1 2 2010 5 5 2011") +
                           AddOf("2 Петров Юг A 1 2 3 2 1 2010 1 2 2010") +
                           AddOf("3 Иванов Север A 1 2 3 3 3 2009 1 2 2010");
std::string ThreeAdded() {
  return kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu;
}
const std::string kLine1 = "1\tИванов\tЦентр\tA\t1\t2\t3\t\t1.2.2010\t\t5.5.2011\n";
const std::string kLine2 = "2\tПетров\tЮг\tA\t1\t2\t3\t\t2.1.2010\t\t1.2.2010\n";
const std::string kLine3 = "3\tИванов\tСевер\tA\t1\t2\t3\t\t3.3.2009\t\t1.2.2010\n";

TEST_F(SearchDialogueTest, SequentialSearchWritesDoneWithoutLineEnd) {
  EXPECT_EQ(RunSession(kThree + "5 1 1 Иванов\n0\n"),
            ThreeAdded() + kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kSearchDone + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + kLine1 + kHeader + kLine3);
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + kLine3 + kHeader + kLine1);
}

TEST_F(SearchDialogueTest, BinarySearchLeavesTheListSorted) {
  EXPECT_EQ(RunSession(kThree + "5 3 2 3 3 2009 2 0"),
            ThreeAdded() + kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kSearchDone + kMenu +
                kHeader + kLine3 + kLine2 + kLine1 + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + kLine3);
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + kLine3);
}

TEST_F(SearchDialogueTest, NothingFoundSaysSoAndStillSorts) {
  EXPECT_EQ(RunSession(kThree + "5 1 2 Иван 2 0"), ThreeAdded() + kCriterionMenu + kAlgorithmMenu +
                                                       kQueryPrompt + kNothingFound + kMenu +
                                                       kHeader + kLine1 + kLine3 + kLine2 + kMenu);
  EXPECT_FALSE(std::filesystem::exists("output.txt"));
  EXPECT_FALSE(std::filesystem::exists("output_reverce.txt"));
  EXPECT_EQ(RunSession("5 2 2 Центр 0"),
            kMenu + kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kNothingFound + kMenu);
}

TEST_F(SearchDialogueTest, OutOfRangeOrUnreadableMenuAnswersRepeatTheMenu) {
  EXPECT_EQ(RunSession("5 0 5 -1 x 99999999999 4 3 abc +0 2 1 2 2010 0"),
            kMenu + kCriterionMenu + kCriterionMenu + kCriterionMenu + kCriterionMenu +
                kCriterionMenu + kCriterionMenu + kAlgorithmMenu + kAlgorithmMenu + kAlgorithmMenu +
                kAlgorithmMenu + kQueryPrompt + kNothingFound + kMenu);
}

TEST_F(SearchDialogueTest, DateQueryPartsAreReadLikeAddFields) {
  EXPECT_EQ(RunSession(kThree + "5 4 1\n1\nx\n2\n2010\n0\n"),
            ThreeAdded() + kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kNotAnInteger +
                kSearchDone + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + kLine2 + kHeader + kLine3);
}

TEST_F(SearchDialogueTest, SecondWordOfAQueryGoesToTheMenu) {
  EXPECT_EQ(RunSession("5 1 1 Иванов 2x\n0\n"), kMenu + kCriterionMenu + kAlgorithmMenu +
                                                    kQueryPrompt + kNothingFound + kMenu + kHeader +
                                                    kMenu + kInvalidChoice + kMenu);
}

TEST_F(SearchDialogueTest, EndOfInputAtEveryReadEndsTheRun) {
  const std::string opening = kMenu + kCriterionMenu;
  const struct {
    std::string script;
    std::string output;
  } cases[] = {
      {"5", opening},
      {"5 1", opening + kAlgorithmMenu},
      {"5 7", opening + kCriterionMenu},
      {"5 1 3", opening + kAlgorithmMenu + kAlgorithmMenu},
      {"5 1 1", opening + kAlgorithmMenu + kQueryPrompt},
      {"5 3 1 1", opening + kAlgorithmMenu + kQueryPrompt},
      {"5 3 1 1 2", opening + kAlgorithmMenu + kQueryPrompt},
      {"5 3 1 1 2 y", opening + kAlgorithmMenu + kQueryPrompt + kNotAnInteger},
  };
  for (const auto& c : cases) {
    int status = -1;
    EXPECT_EQ(RunSession(kThree + c.script, nullptr, &status),
              ThreeAdded() + c.output.substr(kMenu.size()))
        << c.script;
    EXPECT_EQ(status, 0);
  }
  EXPECT_FALSE(std::filesystem::exists("output.txt"));
}

}  // namespace

namespace {

std::string LineOf(const Record& r) {
  std::ostringstream out;
  printRecord(out, r);
  return out.str();
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

// Sorts `records` by each criterion through a binary search and checks the
// result against the record ordering; `records` must be numbered 0..n-1.
void CheckSortsAgree(std::vector<Record> records, const std::string& what) {
  const struct {
    Criterion criterion;
    bool (*less)(const Record&, const Record&);
  } orders[] = {{Criterion::kSurname, lessBySurname},
                {Criterion::kDistrict, lessByDistrict},
                {Criterion::kContractDate, lessByContractDate},
                {Criterion::kLastPaymentDate, lessByLastPaymentDate}};
  const std::vector<Record> original = records;  // indexed by number
  for (const auto& order : orders) {
    // A query that is not present: only the sort is exercised.
    findMatches(records, order.criterion, Algorithm::kBinary, ByText("\x01"));
    ASSERT_TRUE(std::is_sorted(records.begin(), records.end(), order.less))
        << what << ", criterion " << static_cast<int>(order.criterion);
    // Only reordered: every record is whole and each appears once.
    std::vector<bool> seen(records.size());
    for (const Record& r : records) {
      const auto n = static_cast<std::size_t>(r.number);
      ASSERT_LT(n, original.size());
      ASSERT_FALSE(seen[n]) << what << ": record " << n << " twice";
      seen[n] = true;
      ASSERT_EQ(LineOf(r), LineOf(original[n])) << what;
    }
  }
}

TEST(BinarySearchTest, SortAgreesWithTheOrderingOnAdversarialKeys) {
  std::mt19937 rng(12345);
  const auto value = [&rng] {
    static const std::int32_t kValues[] = {INT32_MIN, INT32_MIN + 1, -1, 0, 1, INT32_MAX};
    return kValues[rng() % std::size(kValues)];
  };
  for (int round = 0; round < 40; ++round) {
    std::vector<Record> records(rng() % 300);
    for (std::size_t i = 0; i < records.size(); ++i) {
      records[i].number = static_cast<std::int32_t>(i);
      records[i].surname = RandomKey(rng);
      records[i].district = RandomKey(rng);
      records[i].contractDate = {value(), value(), value()};
      records[i].lastPaymentDate = {value(), value(), value()};
    }
    CheckSortsAgree(std::move(records), "round " + std::to_string(round));
  }
}

// Large lists go through other sorting paths: keys that differ in a few
// bytes only (typical dates, words differing in one letter) and keys that
// differ everywhere.
TEST(BinarySearchTest, LargeListsSortLikeTheOrdering) {
  std::mt19937 rng(777);
  const std::size_t n = 20000;
  std::vector<Record> fewBytes(n);
  std::vector<Record> manyBytes(n);
  for (std::size_t i = 0; i < n; ++i) {
    Record& a = fewBytes[i];
    a.number = static_cast<std::int32_t>(i);
    a.surname = std::string(15, 'a') + static_cast<char>(rng() % 256);
    a.district = "Центральный" + std::string(rng() % 3, '\0');
    const auto small = [&rng](int base, int span) {
      return base + static_cast<std::int32_t>(rng() % static_cast<unsigned>(span));
    };
    a.contractDate = {small(1, 28), small(1, 12), small(1995, 30)};
    a.lastPaymentDate = {small(-3, 6), small(-300, 600), small(-1, 3)};
    Record& b = manyBytes[i];
    b.number = a.number;
    b.surname = RandomKey(rng);
    b.district = std::to_string(rng());
    b.contractDate = {static_cast<std::int32_t>(rng()), static_cast<std::int32_t>(rng()),
                      static_cast<std::int32_t>(rng())};
    b.lastPaymentDate = {small(1, 28), static_cast<std::int32_t>(rng()), small(2000, 2)};
  }
  CheckSortsAgree(std::move(fewBytes), "keys differing in few bytes");
  CheckSortsAgree(std::move(manyBytes), "keys differing in many bytes");
}

}  // namespace
