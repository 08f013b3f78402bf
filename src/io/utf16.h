#pragma once

#include <string>
#include <string_view>

// The program keeps UTF-8; a Windows console speaks UTF-16. Text crosses
// in pieces (a buffer's worth at a time), and a character may be split
// between two pieces: each converter keeps the unfinished end of a piece
// for the next one.

class Utf8ToUtf16 {
 public:
  // Appends the UTF-16 of `bytes`, after what was kept from the last call,
  // to `out`. Bytes that are not UTF-8 become U+FFFD, one for each.
  void convert(std::string_view bytes, std::u16string& out);

 private:
  std::string kept_;
};

class Utf16ToUtf8 {
 public:
  // Appends the UTF-8 of `units`, after a high surrogate kept from the
  // last call, to `out`. A surrogate without its partner becomes U+FFFD.
  void convert(std::u16string_view units, std::string& out);

 private:
  char16_t kept_ = 0;
};
