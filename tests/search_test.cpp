#include "search/search.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "search/orderings.h"
#include "test_support.h"

namespace {

Query ByText(std::string text) { return Query{std::move(text), {}}; }
Query ByDate(Date date) { return Query{{}, date}; }

std::vector<const Record*> Find(RecordList& records, Criterion criterion, Algorithm algorithm,
                                const Query& query) {
  FieldSorter sorter;
  return findMatches(records, criterion, algorithm, query, sorter);
}

std::vector<std::int32_t> Numbers(const std::vector<const Record*>& found) {
  std::vector<std::int32_t> numbers;
  numbers.reserve(found.size());
  for (const Record* r : found) numbers.push_back(r->number);
  return numbers;
}

std::vector<Record> Sample() {
  return {
      RecordOf(1, "Петров", "Север", {1, 2, 2010}, {5, 5, 2011}),
      RecordOf(2, "Иванов", "Центр", {2, 1, 2010}, {1, 2, 2010}),
      RecordOf(3, "Сидоров", "Центр", {1, 2, 2010}, {6, 6, 2011}),
      RecordOf(4, "Иванов", "Юг", {3, 3, 2009}, {1, 2, 2010}),
      RecordOf(5, "Иван", "Север", {1, 2, 2011}, {7, 7, 2012}),
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
    RecordList records;
    Append(records, Sample());
    EXPECT_EQ(Numbers(Find(records, c.criterion, Algorithm::kSequential, c.query)), c.found)
        << "criterion " << static_cast<int>(c.criterion) << " query " << c.query.text;
    EXPECT_EQ(Numbers(records), (std::vector<std::int32_t>{1, 2, 3, 4, 5}));
  }
  if (CountAllocations()) {  // a whole list's matches: one allocation, not one per doubling
    RecordList all;
    for (int i = 0; i < 5000; ++i) all.append(RecordOf(i, "Иванов"));
    const std::size_t before = allocationCount;
    Find(all, Criterion::kSurname, Algorithm::kSequential, ByText("Иванов"));
    EXPECT_EQ(allocationCount - before, 1U);
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
    RecordList records;
    Append(records, Sample());
    const auto found = Find(records, c.criterion, Algorithm::kBinary, c.query);
    ASSERT_EQ(found.size(), c.found) << c.query.text;
    if (!found.empty()) {
      EXPECT_EQ(found[0]->surname(), c.query.text);
      // The first of the equal keys in the new order.
      const RecordList::View list = records.compactedView();
      std::size_t at = 0;
      while (&list[at] != found[0]) ++at;
      EXPECT_TRUE(at == 0 || list[at - 1].surname() != c.query.text);
    }
    std::vector<std::string> after;
    records.forEach([&](const Record& r) {
      after.emplace_back(r.surname());
      return true;
    });
    EXPECT_EQ(after, c.surnamesAfter) << c.query.text;
    // Already in order, equal neighbours included: found again, not sorted again.
    FieldSorter unused;
    EXPECT_EQ(findMatches(records, c.criterion, Algorithm::kBinary, c.query, unused), found);
    EXPECT_EQ(unused.scratchBytes(), 0U) << c.query.text;
  }
}

TEST(BinarySearchTest, SortsByDatesAndDistricts) {
  RecordList records;
  Append(records, Sample());
  FieldSorter sorter;  // one throughout: each search sorts by its own field
  auto found = findMatches(records, Criterion::kContractDate, Algorithm::kBinary,
                           ByDate({1, 2, 2010}), sorter);
  ASSERT_EQ(found.size(), 1U);
  EXPECT_TRUE(found[0]->number == 1 || found[0]->number == 3);
  EXPECT_EQ(Numbers(records)[0], 4);
  EXPECT_EQ(Numbers(records)[1], 2);
  EXPECT_EQ(Numbers(records)[4], 5);
  EXPECT_EQ(found[0], &records.compactedView()[2]);

  found = findMatches(records, Criterion::kLastPaymentDate, Algorithm::kBinary,
                      ByDate({6, 6, 2011}), sorter);
  ASSERT_EQ(Numbers(found), std::vector<std::int32_t>{3});
  EXPECT_EQ(Numbers(records)[2], 1);
  EXPECT_EQ(Numbers(records)[3], 3);
  EXPECT_EQ(Numbers(records)[4], 5);

  // Between two keys: nothing found, yet the list is left sorted.
  found = findMatches(records, Criterion::kDistrict, Algorithm::kBinary, ByText("Фронт"), sorter);
  EXPECT_TRUE(found.empty());
  const RecordList::View list = records.compactedView();
  for (std::size_t i = 1; i < list.size(); ++i) EXPECT_FALSE(lessByDistrict(list[i], list[i - 1]));
}

// One sorter for the whole run, as in a session: a record appended after
// its sort is sorted in by the next search.
TEST(BinarySearchTest, RecordAppendedAfterTheSortIsSortedIn) {
  RecordList records;
  FieldSorter sorter;
  Append(records, Sample());
  findMatches(records, Criterion::kSurname, Algorithm::kBinary, ByText("Петров"), sorter);
  EXPECT_TRUE(sorter.leftSorted(records, Word::kSurname));
  Append(records, {RecordOf(6, "Абрамов")});
  EXPECT_FALSE(sorter.leftSorted(records, Word::kSurname));
  EXPECT_EQ(Numbers(findMatches(records, Criterion::kSurname, Algorithm::kBinary, ByText("Абрамов"),
                                sorter)),
            std::vector<std::int32_t>{6});
  EXPECT_EQ(Numbers(records).front(), 6);
}

TEST(BinarySearchTest, EmptyListFindsNothing) {
  RecordList records;
  for (int criterion = 1; criterion <= 4; ++criterion) {
    EXPECT_TRUE(
        Find(records, static_cast<Criterion>(criterion), Algorithm::kBinary, {"x", {1, 1, 1}})
            .empty());
  }
}

TEST(BinarySearchTest, SequentialAfterBinaryReportsInTheSortedOrder) {
  RecordList records;
  Append(records, Sample());
  Find(records, Criterion::kSurname, Algorithm::kBinary, ByText("Петров"));
  EXPECT_EQ(Numbers(Find(records, Criterion::kDistrict, Algorithm::kSequential, ByText("Север"))),
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
  EXPECT_EQ(RunSession(kThree + "5 4 1\n1\nx\n2\n3000000000\n2010\n0\n"),
            ThreeAdded() + kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kNotAnInteger +
                kIntegerOutOfRange + kSearchDone + kMenu);
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
