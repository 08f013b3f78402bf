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

// Each text is converted whole, split in two at every place, and a byte at
// a time: a character split between pieces converts as if it were not.
TEST(Utf8ToUtf16Test, ConvertsAlikeWholeAndInPieces) {
  const struct {
    std::string bytes;
    std::string units;
  } cases[] = {
      {"Иван", "0418 0432 0430 043D"},
      {"a\tb\n", "0061 0009 0062 000A"},
      // The first and last character of each length, and past the last.
      {"\x7F\xC2\x80\xDF\xBF", "007F 0080 07FF"},
      {"\xE0\xA0\x80\xEF\xBF\xBF", "0800 FFFF"},
      {"\xF0\x90\x80\x80\xF4\x8F\xBF\xBF", "D800 DC00 DBFF DFFF"},
      {"\xF4\x90\x80\x80", "FFFD FFFD FFFD FFFD"},
      // Around the surrogates, which UTF-8 may not carry.
      {"\xED\x9F\xBF\xEE\x80\x80", "D7FF E000"},
      {"\xED\xA0\x80", "FFFD FFFD FFFD"},
      {"\xED\xBF\xBF", "FFFD FFFD FFFD"},
      // Overlong forms and bytes that start nothing.
      {"\xC0\xAF\xC1\xBF", "FFFD FFFD FFFD FFFD"},
      {"\xE0\x9F\xBF", "FFFD FFFD FFFD"},
      {"\xF0\x8F\xBF\xBF", "FFFD FFFD FFFD FFFD"},
      {"\xF5\x80\xFE\xFF", "FFFD FFFD FFFD FFFD"},
      {"\xF5\x80\x80\x80\xF6\x90\x80\x80\xF7\xBF\xBF\xBF",
       "FFFD FFFD FFFD FFFD FFFD FFFD "
       "FFFD FFFD FFFD FFFD FFFD FFFD"},
      {"a\xFF"
       "b",
       "0061 FFFD 0062"},
      {"\x80\xBF", "FFFD FFFD"},
      // A character broken off, by another byte or by the end of the text.
      {"\xD0"
       "a",
       "FFFD 0061"},
      {"\xE2\x82\xD0\x98", "FFFD FFFD 0418"},
      {"\xF0\x9F\x98"
       "!",
       "FFFD FFFD FFFD 0021"},
      {"x\xF0\x9F\x98", "0078 FFFD FFFD FFFD"},
      {"\xE2\x82", "FFFD FFFD"},
  };
  for (const auto& c : cases) {
    std::vector<std::vector<std::string>> splits = {{c.bytes}, {}};
    for (const char b : c.bytes) splits.back().emplace_back(1, b);
    for (std::size_t at = 1; at < c.bytes.size(); ++at) {
      splits.push_back({c.bytes.substr(0, at), c.bytes.substr(at)});
    }
    for (const auto& pieces : splits) {
      Utf8ToUtf16 converter;
      std::u16string out;
      for (const std::string& piece : pieces) converter.convert(piece, out);
      converter.finish(out);
      EXPECT_EQ(Units(out), c.units) << c.bytes << " in " << pieces.size() << " pieces";
      // A console is sent each piece once.
      ConsoleOutput console;
      std::u16string shown;
      for (const std::string& piece : pieces) {
        for (std::size_t at = 0, taken = 0; at < piece.size(); at += taken) {
          shown += console.next(std::string_view(piece).substr(at), taken);
        }
      }
      shown += console.finish();
      EXPECT_EQ(Units(shown), c.units) << c.bytes << " at a console";
    }
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
      {{u"\x7F\x80\x7FF\x800\xFFFF"}, "\x7F\xC2\x80\xDF\xBF\xE0\xA0\x80\xEF\xBF\xBF"},
      {{u"\xDBFF", u"\xDFFF"}, "\xF4\x8F\xBF\xBF"},
      // A high surrogate at the end of the text.
      {{u"x\xD83D"}, "x\xEF\xBF\xBD"},
  };
  for (const auto& c : cases) {
    Utf16ToUtf8 converter;
    std::string out;
    for (const std::u16string& piece : c.pieces) converter.convert(piece, out);
    converter.finish(out);
    EXPECT_EQ(out, c.bytes) << c.bytes;
  }
}

// A console's reads: Ctrl-Z ends the input only at the start of a line,
// and a surrogate cut off by the end becomes U+FFFD.
TEST(ConsoleInputTest, EndsAtCtrlZStartingALine) {
  const struct {
    std::vector<std::u16string> reads;
    std::string bytes;
    std::size_t taken;  // reads taken before the end
  } cases[] = {
      {{u"1\r\n", u"\x1A\r\n", u"2\r\n"}, "1\r\n", 1},
      {{u"\x1A\r\n"}, "", 0},
      {{u"a\x1A\r\n", u"b", u"\x1A"}, "a\x1A\r\nb\x1A", 3},
      {{u"a\r\n", u"", u"b"}, "a\r\n", 1},
      {{u"\xD83D", u"\x1A"}, "\xEF\xBF\xBD\x1A", 2},
      {{u"x\xD83D", u"", u"y"}, "x\xEF\xBF\xBD", 1},
  };
  for (const auto& c : cases) {
    ConsoleInput input;
    std::string out;
    std::size_t taken = 0;
    while (taken < c.reads.size() && input.take(c.reads[taken], out)) ++taken;
    EXPECT_EQ(out, c.bytes) << c.bytes;
    EXPECT_EQ(taken, c.taken) << c.bytes;
  }
}

}  // namespace
