#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>

#include "io/output.h"
#include "io/reader.h"
#include "record/record.h"

// The dialogue's ends: items in, texts out, failure lines aside. A read
// that meets the end of input returns false, and the end is remembered so
// that the menu loop ends the run; so is any failure (unreadable input,
// unwritable output, one an operation reports), which decides the status.
class Console {
 public:
  Console(Device& in, Output& out, Output& err);
  Console(const Console&) = delete;
  Console& operator=(const Console&) = delete;

  void write(std::string_view text) { out_.write(text); }
  Output& out() { return out_; }
  // Sends the pending output on, and notes whether that failed.
  void flush();

  // Appends the word read to `word`.
  bool readWord(std::string& word);
  bool readChoice(std::string& choice);
  // Reads an integer; an invalid item is answered with a request for an
  // integer, one out of range with the range, and read again.
  bool readInteger(std::int32_t& value);
  // Reads day, month and year, each as readInteger does.
  bool readDate(Date& date);
  // One attempt; the caller decides what an invalid item means.
  ItemReader::IntStatus readIntegerOnce(std::int32_t& value);

  // Writes the pieces of a line and a line end to the error stream, after
  // the pending output (so that both keep their order on a shared terminal),
  // and fails the run. Allocates nothing: it can say that memory ran out.
  void reportFailure(std::initializer_list<std::string_view> line);

  bool ended() const { return ended_; }
  bool failed() const { return failed_; }

 private:
  bool track(bool got);
  // Reports the first failure of the output, once; inline: after every read.
  void checkOutput() {
    if (out_.error() != 0 && !outputFailed_) noteOutputFailure();
  }
  void noteOutputFailure();
  void writeError(std::initializer_list<std::string_view> line);

  ItemReader reader_;
  Output& out_;
  Output& err_;
  bool ended_ = false;
  bool failed_ = false;
  bool outputFailed_ = false;
};
