#include "record/record.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "io/output.h"

RecordWords::RecordWords(std::string_view surname, std::string_view district,
                         std::string_view address) {
  const std::uint64_t ends[] = {surname.size(), surname.size() + district.size(),
                                std::uint64_t{surname.size()} + district.size() + address.size()};
  if (ends[2] >> 40 != 0) throw std::bad_alloc();
  if (ends[2] == 0) return;
  bytes_.reset(new char[static_cast<std::size_t>(ends[2])]);
  char* at = std::copy(surname.begin(), surname.end(), bytes_.get());
  at = std::copy(district.begin(), district.end(), at);
  std::copy(address.begin(), address.end(), at);
  for (int k = 0; k < 3; ++k) {
    endLow_[k] = static_cast<std::uint32_t>(ends[k]);
    endHigh_[k] = static_cast<std::uint8_t>(ends[k] >> 32);
  }
}

namespace {

// "00" to "99": digits go two at a time, half the divisions of one by one.
struct DigitPairs {
  char text[200];
  constexpr DigitPairs() : text() {
    for (int i = 0; i < 100; ++i) {
      text[2 * i] = static_cast<char>('0' + i / 10);
      text[2 * i + 1] = static_cast<char>('0' + i % 10);
    }
  }
};
constexpr DigitPairs kPairs;
// Writes the decimal form of `value` at `pos`, which has room for 16 bytes;
// returns its end.
char* appendInt(char* pos, std::int32_t value) {
  auto v = static_cast<std::uint32_t>(value);
  if (value < 0) {
    *pos++ = '-';
    v = 0U - v;
  }
  // Days, months and most amounts: one or two digits, straight from the table.
  if (v < 100) {
    if (v < 10) {
      *pos = static_cast<char>('0' + v);
      return pos + 1;
    }
    std::memcpy(pos, kPairs.text + 2 * v, 2);
    return pos + 2;
  }
  // Years: two pairs.
  if (v < 10000) {
    const std::uint32_t high = v / 100;
    if (high < 10) {
      *pos++ = static_cast<char>('0' + high);
    } else {
      std::memcpy(pos, kPairs.text + 2 * high, 2);
      pos += 2;
    }
    std::memcpy(pos, kPairs.text + 2 * (v % 100), 2);
    return pos + 2;
  }
  // Longer ones from their end in a scratch copy, which goes out whole.
  char digits[32];
  char* const end = digits + 16;
  char* first = end;
  for (; v >= 100; v /= 100) {
    first -= 2;
    std::memcpy(first, kPairs.text + 2 * (v % 100), 2);
  }
  if (v >= 10) {
    first -= 2;
    std::memcpy(first, kPairs.text + 2 * v, 2);
  } else {
    *--first = static_cast<char>('0' + v);
  }
  std::memcpy(pos, first, 16);
  return pos + (end - first);
}

char* appendDate(char* pos, const Date& date) {
  pos = appendInt(pos, date.day);
  *pos++ = '.';
  pos = appendInt(pos, date.month);
  *pos++ = '.';
  return appendInt(pos, date.year);
}

// The fields after the words, and the line end.
char* appendTail(char* pos, const Record& record) {
  pos = appendInt(pos, record.phone);
  *pos++ = '\t';
  pos = appendInt(pos, record.installationPayment);
  *pos++ = '\t';
  pos = appendInt(pos, record.subscriptionFee);
  *pos++ = '\t';
  *pos++ = '\t';
  pos = appendDate(pos, record.contractDate);
  *pos++ = '\t';
  *pos++ = '\t';
  pos = appendDate(pos, record.lastPaymentDate);
  *pos++ = '\n';
  return pos;
}

// Room for the integers of a line (a sign and 16 bytes each at most, see
// appendInt) and its tabs, dots and line end.
constexpr std::size_t kNumbersRoom = 17 * 10 + 16;
constexpr Word kWords[] = {Word::kSurname, Word::kDistrict, Word::kAddress};

}  // namespace

void writeHeaderLine(Output& out) { out.write(kHeaderLine); }

void printRecord(Output& out, const Record& record) {
  // The line is formatted straight into the output's buffer; words too long
  // for it go out as they are, between the numbers.
  char* pos = out.room(record.words.all().size() + kNumbersRoom);
  if (pos == nullptr) {
    char numbers[kNumbersRoom];
    char* end = appendInt(numbers, record.number);
    *end++ = '\t';
    out.write(std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
    for (const Word w : kWords) {
      out.write(record.word(w));
      out.write("\t");
    }
    end = appendTail(numbers, record);
    out.write(std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
    return;
  }
  pos = appendInt(pos, record.number);
  *pos++ = '\t';
  for (const Word w : kWords) {
    const std::string_view word = record.word(w);
    pos = std::copy(word.begin(), word.end(), pos);
    *pos++ = '\t';
  }
  out.commit(appendTail(pos, record));
}
