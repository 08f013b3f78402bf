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
struct Record {
  std::int32_t number = 0;
  std::string surname;
  std::string district;
  std::string address;
  std::int32_t phone = 0;
  std::int32_t installationPayment = 0;
  std::int32_t subscriptionFee = 0;
  Date contractDate;
  Date lastPaymentDate;
};

// Asks for a string's bytes to be brought into cache. Loops over many
// records call this a few records ahead: after a sort, the records' words lie
// scattered over the heap and each would otherwise be a cache miss.
inline void prefetchWord(const std::string& word) { __builtin_prefetch(word.data()); }
inline void prefetchWords(const Record& r) {
  prefetchWord(r.surname);
  prefetchWord(r.district);
  prefetchWord(r.address);
}
// For loops that reach records out of order: the record itself, whose
// words are then fetched once it has arrived.
inline void prefetchRecord(const Record& r) {
  __builtin_prefetch(&r);
  __builtin_prefetch(reinterpret_cast<const char*>(&r) + 64);
}
// How far ahead those loops fetch (records twice as far).
inline constexpr std::size_t kPrefetchDistance = 8;

inline constexpr std::string_view kHeaderLine =
    "Номер\tФамилия\tРайон\tАдрес\tТелефон\tОплата\tАбонплата\tДата договора\tДата последнего "
    "платежа\n";

// Writes `text` straight to the stream buffer; a short write sets badbit.
// Console and result files go through here so that fixed texts cost one copy.
void writeText(std::ostream& out, std::string_view text);

// Writes the header line (shared by the listing and the result files).
void writeHeaderLine(std::ostream& out);

// Writes the record line: tab-separated fields, two tabs before each date,
// dates as day.month.year without leading zeros, then "\n".
void printRecord(std::ostream& out, const Record& record);
