#include "record/record.h"

#include <algorithm>
#include <charconv>

#include "io/text_out.h"

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

void writeHeaderLine(std::ostream& out) { writeText(out, kHeaderLine); }

void printRecord(std::ostream& out, const Record& record) {
  // The whole line is formatted into one buffer and written at once: a
  // listing or a result file of a million records is then a million writes,
  // not ten million. Words too long for the buffer are written as they are.
  constexpr std::size_t kNumbersRoom = 11 * 10 + 16;
  char line[512];
  const std::size_t words = record.surname.size() + record.district.size() + record.address.size();
  const bool fits = words + kNumbersRoom <= sizeof(line);
  char* end = appendInt(line, record.number);
  *end++ = '\t';
  for (const std::string* word : {&record.surname, &record.district, &record.address}) {
    if (fits) {
      end = std::copy(word->begin(), word->end(), end);
    } else {
      writeText(out, std::string_view(line, static_cast<std::size_t>(end - line)));
      writeText(out, *word);
      end = line;
    }
    *end++ = '\t';
  }
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
  writeText(out, std::string_view(line, static_cast<std::size_t>(end - line)));
}
