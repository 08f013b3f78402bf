#include "io/utf16.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <vector>

namespace {

// The UTF-16 units as hex, separated by blanks.
std::string Units(const std::u16string& s) {
  std::string hex;
  for (const char16_t unit : s) {
    char buffer[8];
    std::snprintf(buffer, sizeof buffer, "%04X", static_cast<unsigned>(unit));
    hex += (hex.empty() ? "" : " ") + std::string(buffer);
  }
  return hex;
}

TEST(Utf8ToUtf16Test, ConvertsPieceByPiece) {
  const struct {
    std::vector<std::string> pieces;
    std::string units;
  } cases[] = {
      {{"Иван"}, "0418 0432 0430 043D"},
      {{"a\tb\n"}, "0061 0009 0062 000A"},
      // A character split between pieces, in every place.
      {{"\xD0", "\x98"}, "0418"},
      {{"\xE2\x82", "\xAC"}, "20AC"},
      {{"\xF0", "\x9F\x98", "\x80!"}, "D83D DE00 0021"},
      // Bytes that are not UTF-8: one replacement each.
      {{"a\xFF"
        "b"},
       "0061 FFFD 0062"},
      {{"\xD0"
        "a"},
       "FFFD 0061"},
      {{"\xD0", "a"}, "FFFD 0061"},
      {{"\xC0\xAF"}, "FFFD FFFD"},
      {{"\xE0\x80\x80"}, "FFFD FFFD FFFD"},
      {{"\xED\xA0\x80"}, "FFFD FFFD FFFD"},
      {{"\xF4\x90\x80\x80"}, "FFFD FFFD FFFD FFFD"},
  };
  for (const auto& c : cases) {
    Utf8ToUtf16 converter;
    std::u16string out;
    for (const std::string& piece : c.pieces) converter.convert(piece, out);
    EXPECT_EQ(Units(out), c.units) << c.pieces.front();
  }
}

TEST(Utf16ToUtf8Test, ConvertsPieceByPiece) {
  const struct {
    std::vector<std::u16string> pieces;
    std::string bytes;
  } cases[] = {
      {{u"Иванов Ж"}, "Иванов Ж"},
      {{u"\x1A\r\n"}, "\x1A\r\n"},
      {{u"\xD83D", u"\xDE00"}, "\xF0\x9F\x98\x80"},
      {{u"\xDC00x"}, "\xEF\xBF\xBDx"},
      {{u"\xD83Dx"}, "\xEF\xBF\xBDx"},
      {{u"\xD83D", u"\xD83D\xDE00"}, "\xEF\xBF\xBD\xF0\x9F\x98\x80"},
  };
  for (const auto& c : cases) {
    Utf16ToUtf8 converter;
    std::string out;
    for (const std::u16string& piece : c.pieces) converter.convert(piece, out);
    EXPECT_EQ(out, c.bytes) << c.bytes;
  }
}

}  // namespace
