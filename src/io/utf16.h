#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The program keeps UTF-8; a Windows console speaks UTF-16. Text crosses in
// pieces, which may split a character: each converter keeps the unfinished
// end of a piece for the next one.

// The length of the UTF-8 character that `lead` starts; 0 when it starts none.
std::size_t utf8Length(unsigned char lead);

class Utf8ToUtf16 {
 public:
  // Appends the UTF-16 of `bytes`, after what was kept from the last call,
  // to `out`. Bytes that are not UTF-8 become U+FFFD, one for each. Appends
  // at most one unit per byte (two for four), and allocates nothing else.
  void convert(std::string_view bytes, std::u16string& out);
  // At the end of the text: the bytes of a character cut off become
  // U+FFFD, one for each.
  void finish(std::u16string& out);

 private:
  std::string kept_;  // at most three bytes: no allocation
};

class Utf16ToUtf8 {
 public:
  // Appends the UTF-8 of `units`, after a high surrogate kept from the
  // last call, to `out`. A surrogate without its partner becomes U+FFFD.
  void convert(std::u16string_view units, std::string& out);
  // At the end of the text: a high surrogate kept becomes U+FFFD.
  void finish(std::string& out);

 private:
  char16_t kept_ = 0;
};

// What the reads of a console give the program: its UTF-16 as UTF-8, and
// the end of the input when a read starts a line with Ctrl-Z (U+001A), as
// Ctrl-D does on a Unix terminal, or returns nothing (the device takes a
// read of nothing from the console itself for Ctrl+C, an interruption).
class ConsoleInput {
 public:
  // Appends the UTF-8 of the units one read returned to `out`; false when
  // they end the input, after appending what was left of a character.
  bool take(std::u16string_view units, std::string& out);

 private:
  Utf16ToUtf8 converter_;
  bool atLineStart_ = true;
};

// What goes to a console: the program's UTF-8 as UTF-16, a bounded piece at
// a time, into memory set aside at the start: a write allocates nothing.
class ConsoleOutput {
 public:
  static constexpr std::size_t kPiece = 4096;
  ConsoleOutput() { units_.reserve(kPiece + 4); }
  // The units of the next piece of `bytes`, of which it takes at most
  // kPiece: how many it took goes to `taken`.
  std::u16string_view next(std::string_view bytes, std::size_t& taken);
  // When the output ends: the units for a character cut off (U+FFFD).
  std::u16string_view finish();

 private:
  Utf8ToUtf16 converter_;
  std::u16string units_;
};
