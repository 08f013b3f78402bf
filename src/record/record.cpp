#include "record/record.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "io/fast_bytes.h"
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

using fast_bytes::appendInt;

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

// Room for the integers of a line ("-2147483648" at most), and its tabs,
// dots and line end.
constexpr std::size_t kNumbersRoom = 11 * 10 + 16;

}  // namespace

void writeHeaderLine(Output& out) { out.write(kHeaderLine); }

void printRecord(Output& out, const Record& record) {
  // The numbers go out in two pieces formatted aside; the words as they are.
  char numbers[kNumbersRoom];
  char* end = appendInt(numbers, record.number);
  *end++ = '\t';
  out.write(std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
  for (const Word w : {Word::kSurname, Word::kDistrict, Word::kAddress}) {
    out.write(record.word(w));
    out.write("\t");
  }
  end = appendTail(numbers, record);
  out.write(std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
}
