#include "record/record.h"

#include <charconv>

namespace {

// Appends the decimal form of `value` at `pos`; returns the new end.
char* appendInt(char* pos, std::int32_t value) {
  // 11 bytes hold "-2147483648".
  return std::to_chars(pos, pos + 11, value).ptr;
}

char* appendDate(char* pos, const Date& date) {
  pos = appendInt(pos, date.day);
  *pos++ = '.';
  pos = appendInt(pos, date.month);
  *pos++ = '.';
  return appendInt(pos, date.year);
}

}  // namespace

void writeText(std::ostream& out, std::string_view text) {
  const auto size = static_cast<std::streamsize>(text.size());
  if (out.rdbuf()->sputn(text.data(), size) != size) {
    out.setstate(std::ios::badbit);
  }
}

void writeHeaderLine(std::ostream& out) { writeText(out, kHeaderLine); }

void printRecord(std::ostream& out, const Record& record) {
  // The numeric columns are formatted into one small buffer so that a line
  // costs four writes, whatever the string lengths.
  char numbers[128];
  char* end = appendInt(numbers, record.number);
  *end++ = '\t';
  writeText(out, std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
  writeText(out, record.surname);
  writeText(out, "\t");
  writeText(out, record.district);
  writeText(out, "\t");
  writeText(out, record.address);
  end = numbers;
  *end++ = '\t';
  end = appendInt(end, record.phone);
  *end++ = '\t';
  end = appendInt(end, record.installationPayment);
  *end++ = '\t';
  end = appendInt(end, record.subscriptionFee);
  *end++ = '\t';
  *end++ = '\t';
  end = appendDate(end, record.contractDate);
  *end++ = '\t';
  *end++ = '\t';
  end = appendDate(end, record.lastPaymentDate);
  *end++ = '\n';
  writeText(out, std::string_view(numbers, static_cast<std::size_t>(end - numbers)));
}
