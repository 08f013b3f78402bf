#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>

// Reads whitespace-separated items straight from a stream buffer. Only the six
// ASCII whitespace bytes separate items, whatever the locale; every other byte
// (UTF-8 included) belongs to a word.
class ItemReader {
 public:
  enum class IntStatus { kOk, kInvalid, kEnd };

  // `flushOnWait`, when given, is flushed whenever the input buffer is empty,
  // just before the reader would wait for more input: a person at a terminal
  // sees every prompt, a script is answered in large writes.
  explicit ItemReader(std::istream& in, std::ostream* flushOnWait = nullptr);

  static bool isSpace(int byte) { return byte == ' ' || (byte >= '\t' && byte <= '\r'); }

  // Skips whitespace and reads one word. Returns false at end of input.
  bool readWord(std::string& word);

  // Skips whitespace and reads an optional sign and a maximal run of digits.
  // kOk when there is a digit and the value fits 32 bits; the bytes after the
  // digits stay in the input. kInvalid otherwise, after discarding the rest of
  // that word. kEnd when the input ends before the item starts.
  IntStatus readInt(std::int32_t& value);

  // Skips whitespace and reads one character: an ASCII byte, or a UTF-8 lead
  // byte with the continuation bytes that directly follow it (no more than it
  // announces). Any other byte is a character of its own. False at end.
  bool readChar(std::string& character);

 private:
  int peek();
  // Skips whitespace; returns false at end of input.
  bool skipSpace();
  void discardWord();

  std::streambuf* buf_;
  std::ostream* flushOnWait_;
};
