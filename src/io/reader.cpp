#include "io/reader.h"

#include <algorithm>
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
  if (!skipSpace()) return IntStatus::kEnd;
  const bool negative = *cur_ == '-';
  if (negative || *cur_ == '+') ++cur_;
  // Held at 2^32 once past it: any further digit keeps it out of range.
  std::uint64_t magnitude = 0;
  bool digits = false;
  do {
    const char* p = cur_;
    for (unsigned d = 0; p != end_ && (d = static_cast<unsigned char>(*p) - 48U) <= 9; ++p) {
      magnitude = std::min<std::uint64_t>(magnitude * 10 + d, std::uint64_t{1} << 32);
    }
    digits = digits || p != cur_;
    cur_ = p;
  } while (cur_ == end_ && refill());
  if (!digits || magnitude > (negative ? 2147483648U : 2147483647U)) {
    // The rest of the word goes with it.
    while ((cur_ = findSpace(cur_, end_)) == end_ && refill()) {
    }
    return digits ? IntStatus::kOutOfRange : IntStatus::kInvalid;
  }
  const auto m = static_cast<std::uint32_t>(magnitude);
  value = static_cast<std::int32_t>(negative ? 0U - m : m);
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
