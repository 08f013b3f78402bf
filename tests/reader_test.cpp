#include "io/reader.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "memory_device.h"

namespace {

// Applies `ops` to `input` ('w' word, 'i' integer, 'c' character) and
// describes what each read gave: w[text], i[value], i! (no digits), i>
// (out of range), c[text] or END.
// With `trickle`, the device hands over one byte at a time, so that every
// item and the byte-order mark are cut between reads.
std::string Trace(const std::string& input, const std::string& ops, bool trickle = false) {
  MemoryDevice in(input, trickle ? 1 : SIZE_MAX);
  ItemReader reader(in);
  std::string trace;
  for (const char op : ops) {
    if (!trace.empty()) trace += ' ';
    std::string item;
    if (op == 'w') {
      trace += reader.readWord(item) ? "w[" + item + "]" : "END";
    } else if (op == 'c') {
      trace += reader.readChar(item) ? "c[" + item + "]" : "END";
    } else {
      std::int32_t value = 0;
      switch (reader.readInt(value)) {
        case ItemReader::IntStatus::kOk:
          trace += "i[" + std::to_string(value) + "]";
          break;
        case ItemReader::IntStatus::kInvalid:
          trace += "i!";
          break;
        case ItemReader::IntStatus::kOutOfRange:
          trace += "i>";
          break;
        case ItemReader::IntStatus::kEnd:
          trace += "END";
          break;
      }
    }
  }
  return trace;
}

struct Case {
  std::string input;
  std::string ops;
  std::string expected;
};

void CheckAll(const std::vector<Case>& cases) {
  for (const Case& c : cases) {
    for (const bool trickle : {false, true}) {
      EXPECT_EQ(Trace(c.input, c.ops, trickle), c.expected)
          << "input: \"" << c.input << "\" ops: " << c.ops << (trickle ? ", byte by byte" : "");
    }
  }
}

TEST(ItemReaderTest, ReadsWords) {
  const std::string kMark = "\xEF\xBB\xBF";
  const std::string kLow("0123456\00189abcdef\037x\0zz", 21);  // \001, \037, \0 in a word
  CheckAll({
      {"abc", "ww", "w[abc] END"},
      {"  abc def\n", "www", "w[abc] w[def] END"},
      {"Иванов Пётр", "ww", "w[Иванов] w[Пётр]"},
      // Bytes of any value above 0x7F, valid UTF-8 or not, are part of a word.
      {"\xA0\x85x\xFF \xC2\xA0", "ww", "w[\xA0\x85x\xFF] w[\xC2\xA0]"},
      {"a\tb\nc\vd\fe\rf g", "wwwwwww", "w[a] w[b] w[c] w[d] w[e] w[f] w[g]"},
      {" \t\n\v\f\r", "w", "END"},
      {"", "w", "END"},
      {"-12x", "w", "w[-12x]"},
      // Bytes below '!' that do not separate, at every place in a run of
      // eight, and separators just past one.
      {kLow + " yy 12345678\n12345678", "wwww", "w[" + kLow + "] w[yy] w[12345678] w[12345678]"},
      // A byte-order mark is skipped only where the input starts, and only whole.
      {kMark + "ab " + kMark, "ww", "w[ab] w[" + kMark + "]"},
      {kMark.substr(0, 2) + "c", "w", "w[" + kMark.substr(0, 2) + "c]"},
      {kMark.substr(0, 2), "ww", "w[" + kMark.substr(0, 2) + "] END"},
  });
}

TEST(ItemReaderTest, ReadsIntegersAtAndPastTheLimits) {
  CheckAll({
      {"0", "ii", "i[0] END"},
      {"2147483647", "i", "i[2147483647]"},
      {"-2147483648", "i", "i[-2147483648]"},
      {"2147483648 5", "ii", "i> i[5]"},
      {"-2147483649 5", "ii", "i> i[5]"},
      {"99999999999 1", "ii", "i> i[1]"},
      // Far past 64 bits: no wrap-around to a small value.
      {"18446744073709551621 7", "ii", "i> i[7]"},
      {"-18446744073709551621 7", "ii", "i> i[7]"},
      // Eleven digits: past the limits by a digit, or within them by a zero.
      {"-21474836480 21474836470 7", "iii", "i> i> i[7]"},
      {"-02147483648 02147483647", "ii", "i[-2147483648] i[2147483647]"},
      {"89161234567 +2147483648 7", "iii", "i> i> i[7]"},
      {"000000000000000000042", "i", "i[42]"},
      {"+17 -0 +0", "iii", "i[17] i[0] i[0]"},
      {"\n\n  -5\n", "ii", "i[-5] END"},
  });
}

TEST(ItemReaderTest, InvalidIntegerDiscardsTheRestOfItsWord) {
  CheckAll({
      {"abc 7", "ii", "i! i[7]"},
      {"- 7", "ii", "i! i[7]"},
      {"-", "ii", "i! END"},
      {"+-5 6", "ii", "i! i[6]"},
      {"--5 6", "ii", "i! i[6]"},
      {"99999999999abc def", "iw", "i> w[def]"},
      {"Иван 3", "ii", "i! i[3]"},
  });
}

TEST(ItemReaderTest, BytesAfterTheDigitsStayInTheInput) {
  CheckAll({
      {"12abc", "iw", "i[12] w[abc]"},
      {"12abc", "ii", "i[12] i!"},
      {"1-2", "ii", "i[1] i[-2]"},
      {"3.4.2011", "iii", "i[3] i! END"},
      {"5Иванов", "iw", "i[5] w[Иванов]"},
  });
}

TEST(ItemReaderTest, ReadsOneCharacterUtf8Aware) {
  CheckAll({
      {"22", "ccc", "c[2] c[2] END"},
      {"  \n1x", "cc", "c[1] c[x]"},
      {"Ж1", "cc", "c[Ж] c[1]"},
      {"€5", "cc", "c[€] c[5]"},
      {"\xF0\x9F\x98\x80!", "cc", "c[\xF0\x9F\x98\x80] c[!]"},
      // A lead byte takes no more continuation bytes than it announces.
      {"\xD0\x96\x96", "cc", "c[\xD0\x96] c[\x96]"},
      // Broken sequences: a lead byte cut short, stray continuation bytes,
      // bytes that never lead.
      {"\xE2\x82z", "cc", "c[\xE2\x82] c[z]"},
      // Cut short by another lead byte, which starts a character of its own.
      {"\xE2\xD0\x96", "cc", "c[\xE2] c[\xD0\x96]"},
      {"\xF0\x9F\xF0\x9F\x98\x80", "cc", "c[\xF0\x9F] c[\xF0\x9F\x98\x80]"},
      {"\x80\x80", "cc", "c[\x80] c[\x80]"},
      {"\xC0\x80", "cc", "c[\xC0] c[\x80]"},
      {"\xF5\x80", "cc", "c[\xF5] c[\x80]"},
      {"\xD0 \x96", "cc", "c[\xD0] c[\x96]"},
      {"\xD0", "cc", "c[\xD0] END"},
  });
}

TEST(ItemReaderTest, ItemsOfDifferentKindsShareOneInput) {
  CheckAll({
      {"1 5 Ivanov Center", "ciww", "c[1] i[5] w[Ivanov] w[Center]"},
      {"12\n", "ci", "c[1] i[2]"},
      {"5\n", "iw", "i[5] END"},
  });
}

// What was written goes out before every read of the device, which may
// wait; and the end, once met, is kept: a terminal would wait again.
TEST(ItemReaderTest, FlushesOutputBeforeEachReadOfTheDevice) {
  MemoryDevice in("abc def", 4);  // "abc ", then "def"
  MemoryDevice shown;
  Output out(shown, 64);
  ItemReader reader(in, &out);
  std::string trace;
  for (int i = 0; i < 4; ++i) {
    out.write(std::to_string(i));
    std::string word = "+";
    trace += (reader.readWord(word) ? word : "END") + "[" + shown.written + "] ";
  }
  EXPECT_EQ(trace, "+abc[0] +def[01] END[01] END[01] ");
  EXPECT_EQ(in.reads, 3) << "the input was asked again after its end";
}

}  // namespace
