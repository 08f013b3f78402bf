#include <gtest/gtest.h>

#include "search/search.h"
#include "test_support.h"

namespace {

class ResultFilesTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

std::string AddOf(int number, const std::string& surname) {
  return "1 " + std::to_string(number) + " " + surname + " D A 1 2 3 4 5 2006 7 8 2009\n";
}
std::string LineOf(int number, const std::string& surname) {
  return std::to_string(number) + "\t" + surname + "\tD\tA\t1\t2\t3\t\t4.5.2006\t\t7.8.2009\n";
}
std::string Added(int count) {
  std::string s = kMenu;
  for (int i = 0; i < count; ++i) s += AddDialogue() + kMenu;
  return s;
}
const std::string kSearchOpening = kCriterionMenu + kAlgorithmMenu + kQueryPrompt;

TEST_F(ResultFilesTest, OneMatchGivesTwoIdenticalTwoLineFiles) {
  EXPECT_EQ(RunSession(AddOf(1, "A") + AddOf(2, "B") + "5 1 1 B 0"),
            Added(2) + kSearchOpening + kSearchDone + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(2, "B"));
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(2, "B"));
}

TEST_F(ResultFilesTest, ForwardAndReversedOrderWithAHeaderBeforeEachRecord) {
  std::string err;
  EXPECT_EQ(
      RunSession(AddOf(1, "A") + AddOf(2, "X") + AddOf(3, "B") + AddOf(4, "C") + "5 2 1 D 0", &err),
      Added(4) + kSearchOpening + kSearchDone + kMenu);
  EXPECT_EQ(err, "");
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(1, "A") + kHeader + LineOf(2, "X") + kHeader +
                                        LineOf(3, "B") + kHeader + LineOf(4, "C"));
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(4, "C") + kHeader + LineOf(3, "B") +
                                                kHeader + LineOf(2, "X") + kHeader +
                                                LineOf(1, "A"));
}

TEST_F(ResultFilesTest, SmallerSearchReplacesFilesWholeAndNothingFoundKeepsThem) {
  const std::string script = AddOf(1, "A") + AddOf(2, "A") + AddOf(3, "A") + AddOf(4, "B") +
                             "5 2 1 D\n"      // all four
                             "5 1 1 B\n"      // one
                             "5 1 1 Z\n0\n";  // none
  EXPECT_EQ(RunSession(script), Added(4) + kSearchOpening + kSearchDone + kMenu + kSearchOpening +
                                    kSearchDone + kMenu + kSearchOpening + kNothingFound + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(4, "B"));
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(4, "B"));
}

TEST_F(ResultFilesTest, OldContentsSurviveASearchThatFindsNothing) {
  WriteFile("output.txt", "earlier\n");
  WriteFile("output_reverce.txt", "earlier too\n");
  RunSession(AddOf(1, "A") + "5 1 2 Z 5 3 1 1 1 1 0");
  EXPECT_EQ(ReadFile("output.txt"), "earlier\n");
  EXPECT_EQ(ReadFile("output_reverce.txt"), "earlier too\n");
}

TEST_F(ResultFilesTest, UnwritableForwardFileIsReportedAndTheOtherStillWritten) {
  std::filesystem::create_directory("output.txt");
  std::string err;
  EXPECT_EQ(RunSession(AddOf(1, "A") + AddOf(2, "A") + "5 1 1 A 0", &err),
            Added(2) + kSearchOpening + kMenu);
  EXPECT_EQ(err, "Не удалось записать файл output.txt: Is a directory\n");
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(2, "A") + kHeader + LineOf(1, "A"));
}

TEST_F(ResultFilesTest, UnwritableReversedFileIsReported) {
  std::filesystem::create_directory("output_reverce.txt");
  std::string err;
  EXPECT_EQ(RunSession(AddOf(1, "A") + "5 1 1 A 0", &err), Added(1) + kSearchOpening + kMenu);
  EXPECT_EQ(err, "Не удалось записать файл output_reverce.txt: Is a directory\n");
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(1, "A"));
}

TEST_F(ResultFilesTest, WriteErrorIsDetectedWhenTheFileIsClosed) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::filesystem::create_symlink("/dev/full", "output.txt");
  std::string err;
  EXPECT_EQ(RunSession(AddOf(1, "A") + "5 1 1 A 0", &err), Added(1) + kSearchOpening + kMenu);
  EXPECT_EQ(err, "Не удалось записать файл output.txt: No space left on device\n");
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(1, "A"));
}

TEST_F(ResultFilesTest, LargeResultIsWrittenInFull) {
  std::vector<Record> records(20000);
  std::vector<const Record*> results;
  std::string expected;
  for (std::size_t i = 0; i < records.size(); ++i) {
    records[i].number = static_cast<std::int32_t>(i);
    records[i].surname = std::string(i % 50, 'x');
  }
  for (auto it = records.rbegin(); it != records.rend(); ++it) {
    results.push_back(&*it);
  }
  for (const Record& r : records) {
    std::ostringstream line;
    printRecord(line, r);
    expected += kHeader + line.str();
  }
  EXPECT_EQ(writeResultFile("big.txt", results, true), "");
  EXPECT_EQ(ReadFile("big.txt"), expected);
}

}  // namespace
