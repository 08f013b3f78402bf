#pragma once

#include <cstdint>
#include <istream>
#include <ostream>
#include <string>
#include <string_view>

#include "base/reader.h"
#include "record/record.h"

// The dialogue's ends: items in, texts out, error lines aside. Every read
// reports end of input by returning false and remembers it, so that the
// menu loop can end the run as soon as any dialogue meets the end.
class Console {
 public:
  Console(std::istream& in, std::ostream& out, std::ostream& err);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void write(std::string_view text) { writeText(out_, text); }
  std::ostream& out() { return out_; }

  bool readWord(std::string& word);
  bool readChoice(std::string& choice);
  // Reads an integer; an invalid item is answered with a request for an
  // integer and read again.
  bool readInteger(std::int32_t& value);
  // Reads day, month and year, each as readInteger does.
  bool readDate(Date& date);
  // One attempt; the caller decides what an invalid item means.
  ItemReader::IntStatus readIntegerOnce(std::int32_t& value);

  // Writes `line` and a line end to the error stream, after the pending
  // output, so that both keep their order on a shared terminal or file.
  void reportError(std::string_view line);

  bool ended() const { return ended_; }

 private:
  bool track(bool got) {
    ended_ = ended_ || !got;
    return got;
  }

  ItemReader reader_;
  std::ostream& out_;
  std::ostream& err_;
  bool ended_ = false;
};
