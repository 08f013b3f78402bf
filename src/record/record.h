#pragma once

#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

struct Date {
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
};

inline bool operator==(const Date& a, const Date& b) {
  return a.day == b.day && a.month == b.month && a.year == b.year;
}

// One subscriber contract. Numbers are not unique and no field is validated.
// The number is kept beside the other integers, not before the words: no
// padding, so a million records take 8 MB less.
struct Record {
  std::string surname;
  std::string district;
  std::string address;
  std::int32_t number = 0;
  std::int32_t phone = 0;
  std::int32_t installationPayment = 0;
  std::int32_t subscriptionFee = 0;
  Date contractDate;
  Date lastPaymentDate;
};

inline constexpr std::string_view kHeaderLine =
    "Номер\tФамилия\tРайон\tАдрес\tТелефон\tОплата\tАбонплата\tДата договора\tДата последнего "
    "платежа\n";

// Writes the header line (shared by the listing and the result files).
void writeHeaderLine(std::ostream& out);

// Writes the record line: tab-separated fields, two tabs before each date,
// dates as day.month.year without leading zeros, then "\n".
void printRecord(std::ostream& out, const Record& record);
