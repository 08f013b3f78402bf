#include "io/reader.h"

#include <limits>
#include <string_view>

#include "io/fast_bytes.h"
#include "io/utf16.h"

namespace {

using fast_bytes::findSpace;
using fast_bytes::isSpace;

constexpr std::size_t kBufferSize = std::size_t{1} << 16;

}  // namespace

ItemReader::ItemReader(Device& in, Output* flushOnWait)
    : in_(in), flushOnWait_(flushOnWait), buffer_(new char[kBufferSize]) {}

bool ItemReader::readMore() {
  // A terminal answers a read again after its end (Ctrl-D on a line of its
  // own); the end is kept, so that the run ends where a pipe's would.
  if (ended_) return false;
  // The read may wait: show the output first.
  if (flushOnWait_ != nullptr) flushOnWait_->flush();
  const auto used = static_cast<std::size_t>(end_ - buffer_.get());
  const Transfer got = in_.read(buffer_.get() + used, kBufferSize - used);
  if (got.bytes == 0) {
    error_ = got.error;
    ended_ = true;
    return false;
  }
  end_ += got.bytes;
  return true;
}

bool ItemReader::refill() {
  cur_ = end_ = buffer_.get();
  if (!readMore()) return false;
  if (atStart_) {
    atStart_ = false;
    // A UTF-8 byte-order mark that starts the input is dropped, as Windows
    // editors save one; anywhere else its bytes are ordinary. A mark cut
    // short by the read is completed first: its start alone is no item, so
    // nothing waits that an item would not.
    constexpr std::string_view kMark = "\xEF\xBB\xBF";
    const auto have = [this] {
      return std::string_view(cur_, static_cast<std::size_t>(end_ - cur_));
    };
    while (have().size() < kMark.size() && kMark.substr(0, have().size()) == have() && readMore()) {
    }
    if (have().substr(0, kMark.size()) == kMark) cur_ += kMark.size();
  }
  return cur_ != end_ || refill();
}

bool ItemReader::skipSpace() {
  for (;;) {
    const char* p = cur_;
    while (p != end_ && isSpace(static_cast<unsigned char>(*p))) ++p;
    cur_ = p;
    if (p != end_) return true;
    if (!refill()) return false;
  }
}

bool ItemReader::readWord(std::string& word) {
  if (!skipSpace()) return false;
  for (;;) {
    const char* start = cur_;
    cur_ = findSpace(start, end_);
    word.append(start, static_cast<std::size_t>(cur_ - start));
    if (cur_ != end_ || !refill()) return true;
  }
}

ItemReader::IntStatus ItemReader::readInt(std::int32_t& value) {
  // Most items are a few digits that end inside the buffer: read at once.
  const char* p = cur_;
  while (p != end_ && isSpace(static_cast<unsigned char>(*p))) ++p;
  const char* const start = p;
  const bool negative = p != end_ && *p == '-';
  if (p != end_ && (negative || *p == '+')) ++p;
  std::uint32_t magnitude = 0;
  const char* const digits = p;
  for (unsigned digit = 0; p != end_ && (digit = static_cast<unsigned char>(*p) - 48U) <= 9; ++p) {
    magnitude = magnitude * 10 + digit;
  }
  // Up to nine digits always fit; anything else takes the general way.
  if (p == digits || p == end_ || p - digits > 9) {
    cur_ = start;
    return readIntAcrossBuffers(value);
  }
  cur_ = p;
  value = static_cast<std::int32_t>(negative ? 0U - magnitude : magnitude);
  return IntStatus::kOk;
}

ItemReader::IntStatus ItemReader::readIntAcrossBuffers(std::int32_t& value) {
  if (!skipSpace()) return IntStatus::kEnd;
  const bool negative = *cur_ == '-';
  if (negative || *cur_ == '+') ++cur_;
  // Accumulate the magnitude as negative so that INT32_MIN fits; stop
  // accumulating below it, where any further digit keeps it out of range.
  constexpr std::int64_t kMin = std::numeric_limits<std::int32_t>::min();
  std::int64_t acc = 0;
  bool digits = false;
  for (;;) {
    const char* p = cur_;
    const char* const end = end_;
    for (; p != end; ++p) {
      const unsigned digit = static_cast<unsigned char>(*p) - unsigned{'0'};
      if (digit > 9) break;
      if (acc >= kMin) acc = acc * 10 - digit;
    }
    digits = digits || p != cur_;
    cur_ = p;
    if (p != end || !refill()) break;
  }
  if (!negative) acc = -acc;
  if (!digits || acc < kMin || acc > std::numeric_limits<std::int32_t>::max()) {
    // The rest of the word goes with it.
    while ((cur_ = findSpace(cur_, end_)) == end_ && refill()) {
    }
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
