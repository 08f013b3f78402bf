#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

class Output;

struct Date {
  std::int32_t day = 0;
  std::int32_t month = 0;
  std::int32_t year = 0;
};

inline bool operator==(const Date& a, const Date& b) {
  return a.day == b.day && a.month == b.month && a.year == b.year;
}

// Which of a record's three words.
enum class Word : unsigned { kSurname, kDistrict, kAddress };

// A record's three words, back to back in one buffer of their own: one
// allocation, none when all are empty; a scan that reads no word touches
// none. A copy is independent; a move takes the buffer and leaves empty
// words. Up to 2^40 bytes in all (40-bit ends keep a record in 64 bytes).
class RecordWords {
 public:
  RecordWords() = default;
  // Throws std::bad_alloc when there is no memory for them.
  RecordWords(std::string_view surname, std::string_view district, std::string_view address);
  RecordWords(const RecordWords& other)
      : RecordWords(other[Word::kSurname], other[Word::kDistrict], other[Word::kAddress]) {}
  RecordWords(RecordWords&& other) noexcept { *this = std::move(other); }
  RecordWords& operator=(const RecordWords& other) { return *this = RecordWords(other); }
  RecordWords& operator=(RecordWords&& other) noexcept {
    bytes_ = std::move(other.bytes_);
    for (int k = 0; k < 3; ++k) {
      endLow_[k] = std::exchange(other.endLow_[k], 0);
      endHigh_[k] = std::exchange(other.endHigh_[k], 0);
    }
    return *this;
  }

  std::string_view operator[](Word which) const {
    const auto k = static_cast<unsigned>(which);
    const std::size_t start = k == 0 ? 0 : end(k - 1);
    return {bytes_.get() + start, end(k) - start};
  }
  // The three together, in order.
  std::string_view all() const { return {bytes_.get(), end(2)}; }

 private:
  // Where word k ends in bytes_.
  std::size_t end(unsigned k) const {
    return static_cast<std::size_t>(std::uint64_t{endHigh_[k]} << 32 | endLow_[k]);
  }

  std::unique_ptr<char[]> bytes_;
  std::uint32_t endLow_[3] = {};
  std::uint8_t endHigh_[3] = {};
};

// One subscriber contract. Numbers are not unique and no field is validated.
// One cache line, aligned to it: a walk or a move touches one line a record.
struct alignas(64) Record {
  RecordWords words;
  std::int32_t number = 0;
  std::int32_t phone = 0;
  std::int32_t installationPayment = 0;
  std::int32_t subscriptionFee = 0;
  Date contractDate;
  Date lastPaymentDate;

  std::string_view word(Word which) const { return words[which]; }
  std::string_view surname() const { return word(Word::kSurname); }
  std::string_view district() const { return word(Word::kDistrict); }
  std::string_view address() const { return word(Word::kAddress); }
};
static_assert(sizeof(Record) == 64, "a record is one cache line");

inline constexpr std::string_view kHeaderLine =
    "Номер\tФамилия\tРайон\tАдрес\tТелефон\tОплата\tАбонплата\tДата договора\tДата последнего "
    "платежа\n";

// Writes the header line (shared by the listing and the result files).
void writeHeaderLine(Output& out);

// Writes the record line: tab-separated fields, two tabs before each date,
// dates as day.month.year without leading zeros, then "\n".
void printRecord(Output& out, const Record& record);
