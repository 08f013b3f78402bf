#include "search/result_files.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

class ResultFilesTest : public ::testing::Test {
 protected:
  ScratchDir dir_;
};

std::string Added(int count) {
  std::string s = kMenu;
  for (int i = 0; i < count; ++i) s += AddDialogue() + kMenu;
  return s;
}
const std::string kSearchOpening = kCriterionMenu + kAlgorithmMenu + kQueryPrompt;

TEST_F(ResultFilesTest, OneMatchGivesTwoIdenticalTwoLineFiles) {
  EXPECT_EQ(RunSession(AddLine(1, "A") + AddLine(2, "B") + "5 1 1 B 0"),
            Added(2) + kSearchOpening + kSearchDone + kMenu);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(2, "B"));
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(2, "B"));
}

TEST_F(ResultFilesTest, ForwardAndReversedOrderWithAHeaderBeforeEachRecord) {
  std::string err;
  int status = -1;
  EXPECT_EQ(RunSession(
                AddLine(1, "A") + AddLine(2, "X") + AddLine(3, "B") + AddLine(4, "C") + "5 2 1 D 0",
                &err, &status),
            Added(4) + kSearchOpening + kSearchDone + kMenu);
  EXPECT_EQ(err, "");
  EXPECT_EQ(status, 0);
  EXPECT_EQ(ReadFile("output.txt"), kHeader + LineOf(1, "A") + kHeader + LineOf(2, "X") + kHeader +
                                        LineOf(3, "B") + kHeader + LineOf(4, "C"));
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(4, "C") + kHeader + LineOf(3, "B") +
                                                kHeader + LineOf(2, "X") + kHeader +
                                                LineOf(1, "A"));
}

TEST_F(ResultFilesTest, SmallerSearchReplacesFilesWholeAndNothingFoundKeepsThem) {
  const std::string script = AddLine(1, "A") + AddLine(2, "A") + AddLine(3, "A") + AddLine(4, "B") +
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
  RunSession(AddLine(1, "A") + "5 1 2 Z 5 3 1 1 1 1 0");
  EXPECT_EQ(ReadFile("output.txt"), "earlier\n");
  EXPECT_EQ(ReadFile("output_reverce.txt"), "earlier too\n");
}

// A file that cannot be written is reported, in the order the files are
// attempted, and the other is still written.
TEST_F(ResultFilesTest, UnwritableFilesAreReportedAndTheOtherStillWritten) {
  const std::string forward = kHeader + LineOf(1, "A") + kHeader + LineOf(2, "A");
  const std::string reversed = kHeader + LineOf(2, "A") + kHeader + LineOf(1, "A");
  const struct {
    std::vector<std::string> directories;
    std::string err;
    std::string forward;
    std::string reversed;
  } cases[] = {
      {{"output.txt"},
       "Не удалось записать файл output.txt: Это каталог\n",
       "(directory)",
       reversed},
      {{"output_reverce.txt"},
       "Не удалось записать файл output_reverce.txt: Это каталог\n",
       forward,
       "(directory)"},
      {{"output.txt", "output_reverce.txt"},
       "Не удалось записать файл output.txt: Это каталог\n"
       "Не удалось записать файл output_reverce.txt: Это каталог\n",
       "(directory)",
       "(directory)"},
  };
  const std::string shown = Added(2) + kSearchOpening + kMenu;
  for (const auto& c : cases) {
    ScratchDir dir;
    for (const std::string& name : c.directories) std::filesystem::create_directory(name);
    std::string err;
    int status = -1;
    EXPECT_EQ(RunSession(AddLine(1, "A") + AddLine(2, "A") + "5 1 1 A 0", &err, &status), shown);
    EXPECT_EQ(err, c.err);
    EXPECT_EQ(status, 1);
    const auto contents = [](const char* name) {
      return std::filesystem::is_directory(name) ? std::string("(directory)") : ReadFile(name);
    };
    EXPECT_EQ(contents("output.txt"), c.forward) << c.err;
    EXPECT_EQ(contents("output_reverce.txt"), c.reversed) << c.err;
  }
}

TEST_F(ResultFilesTest, WriteErrorIsDetectedWhenTheFileIsClosed) {
  if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
  std::filesystem::create_symlink("/dev/full", "output.txt");
  std::string err;
  int status = -1;
  EXPECT_EQ(RunSession(AddLine(1, "A") + "5 1 1 A 0", &err, &status),
            Added(1) + kSearchOpening + kMenu);
  EXPECT_EQ(status, 1);
  EXPECT_EQ(err, "Не удалось записать файл output.txt: На устройстве не осталось места\n");
  EXPECT_EQ(ReadFile("output_reverce.txt"), kHeader + LineOf(1, "A"));
}

TEST_F(ResultFilesTest, LargeResultIsWrittenInFull) {
  constexpr int kCount = 20000;
  std::vector<Record> records;
  std::vector<const Record*> matches;
  std::string expected;
  records.reserve(kCount);
  matches.reserve(kCount);
  const auto surname = [](int i) { return std::string(static_cast<std::size_t>(i % 50), 'x'); };
  for (int i = 0; i < kCount; ++i) records.push_back(RecordOf(i, surname(i)));
  for (const Record& r : records) matches.push_back(&r);
  for (int i = kCount - 1; i >= 0; --i) expected += kHeader + LineOf(i, surname(i));
  EXPECT_EQ(writeResultFile("big.txt", matches, true), 0);
  EXPECT_EQ(ReadFile("big.txt"), expected);
}

}  // namespace
