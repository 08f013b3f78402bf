#include "record/record.h"

#include <gtest/gtest.h>

#include <limits>

#include "test_support.h"

namespace {

std::string Line(const Record& r) {
  return Printed([&r](Output& out) { printRecord(out, r); });
}

// A record whose words are Cyrillic and whose amounts are 1, 2 and 3.
Record Make(std::int32_t number, Date contract, Date payment) {
  return RecordOf(number, "Иванов", "Центр", contract, payment);
}

TEST(RecordLineTest, HeaderLineHasNineTitlesAndOneTabEach) {
  const std::string header = Printed(writeHeaderLine);
  EXPECT_EQ(header, kHeader);
  EXPECT_EQ(header,
            "\xD0\x9D\xD0\xBE\xD0\xBC\xD0\xB5\xD1\x80\t"  // Номер, spelled as UTF-8 bytes
            "Фамилия\tРайон\tАдрес\tТелефон\tОплата\tАбонплата\tДата договора\t"
            "Дата последнего платежа\n");
}

TEST(RecordLineTest, WritesFieldsWithTwoTabsBeforeEachDate) {
  const struct {
    Record record;
    std::string line;
  } cases[] = {
      {Make(5, {1, 2, 2010}, {3, 4, 2011}),
       "5\tИванов\tЦентр\tA\t1\t2\t3\t\t1.2.2010\t\t3.4.2011\n"},
      {Make(-7, {5, 3, 2010}, {31, 12, 0}),
       "-7\tИванов\tЦентр\tA\t1\t2\t3\t\t5.3.2010\t\t31.12.0\n"},
      {Make(std::numeric_limits<std::int32_t>::min(), {0, -1, -2010},
            {std::numeric_limits<std::int32_t>::max(), 13, 99999}),
       "-2147483648\tИванов\tЦентр\tA\t1\t2\t3\t\t0.-1.-2010\t\t"
       "2147483647.13.99999\n"},
      // Each side of the bounds where numbers stop coming from a table of digits.
      {Make(9, {10, 99, 100}, {999, 1000, 9999}),
       "9\tИванов\tЦентр\tA\t1\t2\t3\t\t10.99.100\t\t999.1000.9999\n"},
      {Make(10000, {-1, -9999, -10000}, {100000, 0, 1}),
       "10000\tИванов\tЦентр\tA\t1\t2\t3\t\t-1.-9999.-10000\t\t100000.0.1\n"},
  };
  for (const auto& c : cases) EXPECT_EQ(Line(c.record), c.line);
}

TEST(RecordLineTest, WritesNegativeAmountsAndEmptyStrings) {
  Record r;
  r.phone = -1;
  r.installationPayment = -100;
  r.subscriptionFee = -2147483647;
  EXPECT_EQ(Line(r), "0\t\t\t\t-1\t-100\t-2147483647\t\t0.0.0\t\t0.0.0\n");
}

TEST(RecordLineTest, LongWordsAreWrittenWhole) {
  // Words around the output's buffer (4096 bytes), one field at a time,
  // every number at its widest: buffered, or written past the buffer.
  constexpr std::int32_t kMin = -2147483647 - 1;
  for (const std::size_t size : {100U, 4095U, 4096U, 4097U, 5000U}) {
    for (int field = 0; field < 3; ++field) {
      Record r = Make(kMin, {kMin, kMin, kMin}, {kMin, kMin, kMin});
      r.phone = r.installationPayment = r.subscriptionFee = -2147483647 - 1;
      std::string words[3];
      words[field] = std::string(size, static_cast<char>('x' + field));
      r.words = RecordWords(words[0], words[1], words[2]);
      EXPECT_EQ(Line(r), "-2147483648\t" + words[0] + "\t" + words[1] + "\t" + words[2] +
                             "\t-2147483648\t-2147483648\t-2147483648\t\t"
                             "-2147483648.-2147483648.-2147483648\t\t"
                             "-2147483648.-2147483648.-2147483648\n")
          << "size " << size << " field " << field;
    }
  }
}

// A copy keeps its words when the original changes; a move takes the
// buffer and leaves three empty words.
TEST(RecordWordsTest, CopiesAreIndependentAndMovesLeaveEmptyWords) {
  Record original = RecordOf(1, "Иванов", std::string(100, 'd'));
  const std::string line = Line(original);
  Record copy = original;
  Record assigned;
  assigned = original;
  original.words = RecordWords();
  EXPECT_EQ(Line(copy), line);
  EXPECT_EQ(Line(assigned), line);
  const char* buffer = copy.words.all().data();
  Record moved = std::move(copy);
  assigned = std::move(moved);
  EXPECT_EQ(assigned.words.all().data(), buffer);
  EXPECT_EQ(Line(assigned), line);
  // NOLINTNEXTLINE(bugprone-use-after-move,clang-analyzer-cplusplus.Move): its state is checked
  EXPECT_EQ(moved.words.all(), "");
  EXPECT_EQ(RecordWords("", "", "").all().data(), nullptr);  // no buffer for no bytes
}

}  // namespace
