#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "io/fast_bytes.h"
#include "io/output.h"
#include "io/platform.h"

// Reads whitespace-separated items from a device. Only the six ASCII
// whitespace bytes separate items, whatever the locale; every other byte
// (UTF-8 included) belongs to a word. It takes what one read of the device
// gives, so a line typed at a terminal is answered at once. All reads of a
// device go through one reader; after the end, it asks the device no more.
class ItemReader {
 public:
  enum class IntStatus { kOk, kInvalid, kOutOfRange, kEnd };

  // `flushOnWait`, when given, is flushed before every read of the device,
  // which may wait: a person at a terminal sees every prompt.
  explicit ItemReader(Device& in, Output* flushOnWait = nullptr);
  // A copy would read from the other's buffer.
  ItemReader(const ItemReader&) = delete;
  ItemReader& operator=(const ItemReader&) = delete;

  // Skips whitespace and appends one word to `word`. False at end of input.
  bool readWord(std::string& word);

  // Skips whitespace and reads an optional sign and a maximal run of digits:
  // kOk when there is a digit and the value fits 32 bits (the bytes after
  // the digits stay in the input); kOutOfRange when it does not fit, and
  // kInvalid when there is no digit, each after discarding the rest of that
  // word; kEnd when the input ends before the item starts.
  IntStatus readInt(std::int32_t& value);

  // Skips whitespace and reads one character: an ASCII byte, or a UTF-8 lead
  // byte with the continuation bytes that directly follow it (no more than it
  // announces). Any other byte is a character of its own. False at end.
  bool readChar(std::string& character);

  // After an end of input: true when it was a failed read of the device,
  // whose errno value error() then gives.
  bool failed() const { return error_ != 0; }
  int error() const { return error_; }

 private:
  static constexpr int kEnd = -1;

  // The next byte (0-255), or kEnd at end of input; does not consume it.
  int peek() {
    if (cur_ == end_ && !refill()) return kEnd;
    return static_cast<unsigned char>(*cur_);
  }
  // Moves past whitespace; false at end of input.
  bool skipSpace();
  bool refill();
  // Reads into the buffer after what it holds; false at the end.
  bool readMore();

  Device& in_;
  Output* flushOnWait_;
  std::unique_ptr<char[]> buffer_;
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  int error_ = 0;
  bool ended_ = false;
  bool atStart_ = true;
};
