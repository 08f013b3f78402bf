#include "search/orderings.h"

#include <gtest/gtest.h>

#include "test_support.h"

namespace {

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
    EXPECT_EQ(lessBySurname(RecordOf(1, c.a), RecordOf(2, c.b)), c.less) << c.a << " < " << c.b;
    EXPECT_EQ(lessByDistrict(RecordOf(1, "x", c.a), RecordOf(2, "x", c.b)), c.less)
        << c.a << " < " << c.b;
    EXPECT_EQ(surnameBefore(RecordOf(1, c.a), c.b), c.less) << c.a << " < " << c.b;
    EXPECT_EQ(districtBefore(RecordOf(1, "x", c.a), c.b), c.less) << c.a << " < " << c.b;
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
    EXPECT_EQ(lessByContractDate(RecordOf(1, "x", "d", c.a), RecordOf(2, "x", "d", c.b)), c.less)
        << what;
    EXPECT_EQ(lessByLastPaymentDate(RecordOf(1, "x", "d", {}, c.a), RecordOf(2, "x", "d", {}, c.b)),
              c.less)
        << what;
    EXPECT_EQ(contractDateBefore(RecordOf(1, "x", "d", c.a), c.b), c.less) << what;
    EXPECT_EQ(lastPaymentDateBefore(RecordOf(1, "x", "d", {}, c.a), c.b), c.less) << what;
  }
}

}  // namespace
