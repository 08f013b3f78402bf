#include "record/record.h"

#include <gtest/gtest.h>

#include <limits>
#include <sstream>

#include "test_support.h"

namespace {

std::string Line(const Record& r) {
  std::ostringstream out;
  printRecord(out, r);
  return out.str();
}

// A record whose words are Cyrillic and whose amounts are 1, 2 and 3.
Record Make(std::int32_t number, Date contract, Date payment) {
  return RecordOf(number, "Иванов", "Центр", contract, payment);
}

TEST(RecordLineTest, HeaderLineHasNineTitlesAndOneTabEach) {
  std::ostringstream out;
  writeHeaderLine(out);
  EXPECT_EQ(out.str(), kHeader);
  EXPECT_EQ(out.str(),
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
  // Words whose total length runs past any line buffer, one field at a time.
  // Every number at its widest: the words that just fit the line's buffer,
  // and those one byte too long.
  constexpr std::int32_t kMin = -2147483647 - 1;
  for (const std::size_t size : {100U, 386U, 387U, 388U, 400U, 500U, 5000U}) {
    for (int field = 0; field < 3; ++field) {
      Record r = Make(kMin, {kMin, kMin, kMin}, {kMin, kMin, kMin});
      r.phone = r.installationPayment = r.subscriptionFee = -2147483647 - 1;
      std::string* words[] = {&r.surname, &r.district, &r.address};
      *words[field] = std::string(size, static_cast<char>('x' + field));
      EXPECT_EQ(Line(r), "-2147483648\t" + r.surname + "\t" + r.district + "\t" + r.address +
                             "\t-2147483648\t-2147483648\t-2147483648\t\t"
                             "-2147483648.-2147483648.-2147483648\t\t"
                             "-2147483648.-2147483648.-2147483648\n")
          << "size " << size << " field " << field;
    }
  }
}

TEST(RecordLineTest, RefusedWriteMarksStreamBad) {
  // A stream buffer with no room and the default overflow takes nothing.
  struct RefusingBuf : std::streambuf {};
  RefusingBuf refusing;
  std::ostream out(&refusing);
  printRecord(out, Make(1, {1, 1, 2011}, {1, 1, 2011}));
  EXPECT_TRUE(out.bad());
}

}  // namespace
