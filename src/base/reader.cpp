#include "base/reader.h"

#include <limits>

namespace {

constexpr int kEof = std::char_traits<char>::eof();

// How many continuation bytes a UTF-8 lead byte announces (0 if it is none).
int continuationCount(int lead) {
  if (lead >= 0xC2 && lead <= 0xDF) return 1;
  if (lead >= 0xE0 && lead <= 0xEF) return 2;
  if (lead >= 0xF0 && lead <= 0xF4) return 3;
  return 0;
}

}  // namespace

ItemReader::ItemReader(std::istream& in, std::ostream* flushOnWait)
    : buf_(in.rdbuf()), flushOnWait_(flushOnWait) {}

int ItemReader::peek() {
  if (flushOnWait_ != nullptr && buf_->in_avail() <= 0) flushOnWait_->flush();
  return buf_->sgetc();
}

bool ItemReader::skipSpace() {
  int c = peek();
  while (c != kEof && isSpace(c)) {
    buf_->sbumpc();
    c = peek();
  }
  return c != kEof;
}

void ItemReader::discardWord() {
  for (int c = peek(); c != kEof && !isSpace(c); c = peek()) buf_->sbumpc();
}

bool ItemReader::readWord(std::string& word) {
  word.clear();
  if (!skipSpace()) return false;
  for (int c = peek(); c != kEof && !isSpace(c); c = peek()) {
    word.push_back(static_cast<char>(c));
    buf_->sbumpc();
  }
  return true;
}

ItemReader::IntStatus ItemReader::readInt(std::int32_t& value) {
  if (!skipSpace()) return IntStatus::kEnd;
  int c = peek();
  const bool negative = c == '-';
  if (c == '-' || c == '+') {
    buf_->sbumpc();
    c = peek();
  }
  // Accumulate the magnitude as negative so that INT32_MIN fits; saturate
  // below it so that any run of digits stays out of range once it is.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t acc = 0;
  bool digits = false;
  while (c >= '0' && c <= '9') {
    digits = true;
    if (acc >= kMin) acc = acc * 10 - (c - '0');
    buf_->sbumpc();
    c = peek();
  }
  if (!negative) acc = -acc;
  if (!digits || acc < kMin || acc > std::numeric_limits<std::int32_t>::max()) {
    discardWord();
    return IntStatus::kInvalid;
  }
  value = static_cast<std::int32_t>(acc);
  return IntStatus::kOk;
}

bool ItemReader::readChar(std::string& character) {
  character.clear();
  if (!skipSpace()) return false;
  const int lead = buf_->sbumpc();
  character.push_back(static_cast<char>(lead));
  for (int n = continuationCount(lead); n > 0; --n) {
    const int c = peek();
    if (c < 0x80 || c > 0xBF) break;
    character.push_back(static_cast<char>(c));
    buf_->sbumpc();
  }
  return true;
}
