#include "io/reader.h"

#include <algorithm>
#include <limits>
#include <string_view>

#include "io/device_buf.h"
#include "io/utf16.h"

namespace {

constexpr std::size_t kChunkSize = std::size_t{1} << 16;

const char* findSpace(const char* p, const char* end) {
  while (p != end && !ItemReader::isSpace(static_cast<unsigned char>(*p))) ++p;
  return p;
}

}  // namespace

ItemReader::ItemReader(std::istream& in, std::ostream* flushOnWait)
    : buf_(in.rdbuf()), flushOnWait_(flushOnWait), chunk_(kChunkSize) {}

bool ItemReader::refill() {
  // A terminal answers a read again after its end (Ctrl-D on a line of its
  // own); the end is kept, so that the run ends where a pipe's would.
  if (ended_) return false;
  // Nothing buffered anywhere: the next read may wait, so show the output.
  if (flushOnWait_ != nullptr && buf_->in_avail() <= 0) flushOnWait_->flush();
  if (buf_->sgetc() == std::char_traits<char>::eof()) {
    error_ = deviceError(buf_);
    ended_ = true;
    return false;
  }
  // At least one byte is buffered now; take what is there, without waiting.
  const std::streamsize avail = std::max<std::streamsize>(buf_->in_avail(), 1);
  const std::streamsize want = std::min(avail, static_cast<std::streamsize>(chunk_.size()));
  const std::streamsize got = buf_->sgetn(chunk_.data(), want);
  cur_ = chunk_.data();
  end_ = chunk_.data() + got;
  if (atStart_) skipByteOrderMark();
  return cur_ != end_ || refill();
}

void ItemReader::skipByteOrderMark() {
  atStart_ = false;
  constexpr std::string_view kMark = "\xEF\xBB\xBF";
  const auto have = [this] {
    return std::string_view(cur_, static_cast<std::size_t>(end_ - cur_));
  };
  // A mark cut short by the read is completed byte by byte: its start alone
  // is no item, so nothing waits that an item would not.
  while (have().size() < kMark.size() && kMark.substr(0, have().size()) == have() &&
         buf_->sgetc() != std::char_traits<char>::eof()) {
    chunk_[static_cast<std::size_t>(end_ - chunk_.data())] = static_cast<char>(buf_->sbumpc());
    ++end_;
  }
  if (have().substr(0, kMark.size()) == kMark) cur_ += kMark.size();
}

bool ItemReader::skipSpace() {
  for (;;) {
    while (cur_ != end_ && isSpace(static_cast<unsigned char>(*cur_))) ++cur_;
    if (cur_ != end_) return true;
    if (!refill()) return false;
  }
}

void ItemReader::discardWord() {
  for (;;) {
    cur_ = findSpace(cur_, end_);
    if (cur_ != end_ || !refill()) return;
  }
}

bool ItemReader::readWord(std::string& word) {
  if (!skipSpace()) {
    word.clear();
    return false;
  }
  // A new string of the word's own length: its allocation fits the word,
  // where appending would leave up to twice the room.
  const char* start = cur_;
  cur_ = findSpace(cur_, end_);
  if (cur_ != end_) {
    word = std::string(start, cur_);
    return true;
  }
  // The word runs on past the bytes at hand: gathered in a buffer kept
  // from word to word.
  pieces_.assign(start, cur_);
  while (refill()) {
    start = cur_;
    cur_ = findSpace(cur_, end_);
    pieces_.append(start, cur_);
    if (cur_ != end_) break;
  }
  if (pieces_.size() <= kChunkSize) {
    word = std::string(pieces_);
  } else {
    // A huge word is not copied; the buffer starts small again.
    word = std::move(pieces_);
    pieces_ = std::string();
  }
  return true;
}

ItemReader::IntStatus ItemReader::readInt(std::int32_t& value) {
  if (!skipSpace()) return IntStatus::kEnd;
  int c = peek();
  const bool negative = c == '-';
  if (c == '-' || c == '+') {
    ++cur_;
    c = peek();
  }
  // Accumulate the magnitude as negative so that INT32_MIN fits; stop
  // accumulating below it, where any further digit keeps it out of range.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t acc = 0;
  bool digits = false;
  while (c >= '0' && c <= '9') {
    digits = true;
    if (acc >= kMin) acc = acc * 10 - (c - '0');
    ++cur_;
    c = peek();
  }
  if (!negative) acc = -acc;
  if (!digits || acc < kMin || acc > std::numeric_limits<std::int32_t>::max()) {
    discardWord();
    return digits ? IntStatus::kOutOfRange : IntStatus::kInvalid;
  }
  value = static_cast<std::int32_t>(acc);
  return IntStatus::kOk;
}

bool ItemReader::readChar(std::string& character) {
  character.clear();
  if (!skipSpace()) return false;
  const int lead = peek();
  character.push_back(*cur_++);
  for (std::size_t n = utf8Length(static_cast<unsigned char>(lead)); n > 1; --n) {
    const int c = peek();
    if (c < 0x80 || c > 0xBF) break;
    character.push_back(*cur_++);
  }
  return true;
}
