#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <vector>

// Reads whitespace-separated items from a stream. Only the six ASCII
// whitespace bytes separate items, whatever the locale; every other byte
// (UTF-8 included) belongs to a word.
//
// The reader takes bytes from the stream buffer in chunks of what is already
// available, never waiting for more than one byte, so items typed at a
// terminal are answered as soon as their line arrives. All reads of one
// stream must go through one reader. Once the stream has ended, every later
// read meets the end without asking the stream again.
class ItemReader {
 public:
  enum class IntStatus { kOk, kInvalid, kOutOfRange, kEnd };

  // `flushOnWait`, when given, is flushed whenever no input is buffered, just
  // before the reader would wait for more: a person at a terminal sees every
  // prompt, a script is answered in large writes.
  explicit ItemReader(std::istream& in, std::ostream* flushOnWait = nullptr);
  // A copy would read from the other's chunk.
  ItemReader(const ItemReader&) = delete;
  ItemReader& operator=(const ItemReader&) = delete;

  static bool isSpace(int byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

  // Skips whitespace and reads one word, stored at its exact length.
  // Returns false at end of input.
  bool readWord(std::string& word);

  // Skips whitespace and reads an optional sign and a maximal run of digits.
  // kOk when there is a digit and the value fits 32 bits; the bytes after the
  // digits stay in the input. kOutOfRange when there are digits but the
  // value does not fit, kInvalid when there is no digit, each after
  // discarding the rest of that word. kEnd when the input ends before the
  // item starts.
  IntStatus readInt(std::int32_t& value);

  // Skips whitespace and reads one character: an ASCII byte, or a UTF-8 lead
  // byte with the continuation bytes that directly follow it (no more than it
  // announces). Any other byte is a character of its own. False at end.
  bool readChar(std::string& character);

  // After an end of input: true when it was a failed read of the device
  // (see DeviceBuf), whose errno value error() then gives.
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
  void discardWord();
  bool refill();
  // Drops a UTF-8 byte-order mark that starts the input, as Windows editors
  // save one; anywhere else its bytes are ordinary.
  void skipByteOrderMark();

  std::streambuf* buf_;
  std::ostream* flushOnWait_;
  std::vector<char> chunk_;
  std::string pieces_;  // a word that spans refills
  const char* cur_ = nullptr;
  const char* end_ = nullptr;
  int error_ = 0;
  bool ended_ = false;
  bool atStart_ = true;
};
