// One run of the whole dialogue on arbitrary bytes as its standard input,
// with checks beyond "no crash":
//  - the run ends, and ends only at 0 or at the end of input;
//  - between two deliveries of input, the output is no longer than the
//    longest answer one byte can ask for (a listing of everything stored)
//    times the bytes delivered, so a loop that writes without reading is
//    stopped at once;
//  - the list at the end holds exactly the records the dialogue reported as
//    added and not removed.
// Result files go to a scratch directory made at start-up.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <streambuf>
#include <string>
#include <string_view>

#include "base/subscriber_base.h"
#include "dialogue_texts.h"
#include "io/console.h"
#include "main/menu.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "session harness: %s\n", what);
  std::abort();
}

// Output sink that counts what is written since the input last advanced.
class CountingBuf : public std::streambuf {
 public:
  explicit CountingBuf(std::size_t perByte) : perByte_(perByte), limit_(perByte) {}
  void inputAdvanced(std::size_t bytes) {
    sinceInput_ = 0;
    limit_ = bytes * perByte_;
  }
  const std::string& text() const { return text_; }

 protected:
  std::streamsize xsputn(const char* s, std::streamsize n) override {
    sinceInput_ += static_cast<std::size_t>(n);
    if (sinceInput_ > limit_) fail("output keeps growing without reading input");
    text_.append(s, static_cast<std::size_t>(n));
    return n;
  }
  int_type overflow(int_type c) override {
    if (traits_type::eq_int_type(c, traits_type::eof())) return 0;
    const char ch = traits_type::to_char_type(c);
    xsputn(&ch, 1);
    return c;
  }

 private:
  std::size_t perByte_;
  std::size_t limit_;
  std::size_t sinceInput_ = 0;
  std::string text_;
};

// Input that hands out `step` bytes at a time, so that item boundaries fall
// across every position of the reader's chunks.
class SteppingBuf : public std::streambuf {
 public:
  SteppingBuf(const char* data, std::size_t size, std::size_t step, CountingBuf& out)
      : data_(data), size_(size), step_(step), out_(out) {}
  bool atEnd() const { return pos_ == size_ && gptr() == egptr(); }

 protected:
  int_type underflow() override {
    if (gptr() != egptr()) return traits_type::to_int_type(*gptr());
    if (pos_ == size_) return traits_type::eof();
    const std::size_t n = std::min(step_, size_ - pos_);
    char* begin = const_cast<char*>(data_ + pos_);
    setg(begin, begin, begin + n);
    pos_ += n;
    out_.inputAdvanced(n);
    return traits_type::to_int_type(*gptr());
  }

 private:
  const char* data_;
  std::size_t size_;
  std::size_t step_;
  std::size_t pos_ = 0;
  CountingBuf& out_;
};

std::size_t count(std::string_view text, std::string_view what) {
  std::size_t n = 0;
  for (std::size_t at = text.find(what); at != std::string_view::npos;
       at = text.find(what, at + what.size())) {
    ++n;
  }
  return n;
}

// Occurrences of `prompt` answered (after any requests for an integer or
// for one in range) by `answer`.
std::size_t countAnswered(std::string_view text, std::string_view prompt, std::string_view answer) {
  std::size_t n = 0;
  for (std::size_t at = text.find(prompt); at != std::string_view::npos;
       at = text.find(prompt, at + 1)) {
    std::size_t next = at + prompt.size();
    for (;;) {
      if (text.substr(next, kNotAnInteger.size()) == kNotAnInteger) {
        next += kNotAnInteger.size();
      } else if (text.substr(next, kIntegerOutOfRange.size()) == kIntegerOutOfRange) {
        next += kIntegerOutOfRange.size();
      } else {
        break;
      }
    }
    if (text.substr(next, answer.size()) == answer) ++n;
  }
  return n;
}

struct ScratchDirectory {
  ScratchDirectory() {
    const auto dir = std::filesystem::temp_directory_path() /
                     ("subscribers-fuzz-" + std::to_string(std::rand()));
    std::filesystem::create_directories(dir);
    std::filesystem::current_path(dir);
  }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchDirectory scratch;
  // The first byte picks how the input is split; the rest is the session.
  static constexpr std::size_t kSteps[] = {1, 2, 3, 7, 64, 1 << 16};
  const std::size_t step = size > 0 ? kSteps[data[0] % std::size(kSteps)] : 1;
  const char* input = reinterpret_cast<const char*>(data) + (size > 0 ? 1 : 0);
  const std::size_t inputSize = size > 0 ? size - 1 : 0;

  // The longest answer to one byte is a listing: each record line holds at
  // most its words (all from the input) and 126 other bytes, and a record
  // takes at least nine input bytes.
  const std::size_t perByte = 4096 + inputSize + 126 * (inputSize / 9 + 1);
  CountingBuf outBuf(perByte);
  SteppingBuf inBuf(input, inputSize, step, outBuf);
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  std::ostringstream err;
  Console console(in, out, err);
  SubscriberBase a(console);
  // Over memory nothing fails but the result files, which go to a scratch
  // directory: the status is 1 exactly when a failure line was written.
  if (runMenu(console, a) != (err.str().empty() ? 0 : 1)) fail("exit status disagrees with stderr");

  const std::string& text = outBuf.text();
  // It ended at the end of input, or at a 0 typed at the menu.
  if (!console.ended() && text.substr(text.size() - std::min(text.size(), kMenu.size())) != kMenu) {
    fail("the run ended neither at 0 nor at the end of input");
  }
  if (console.ended() && !inBuf.atEnd()) fail("end of input reported before the input ended");

  const std::size_t added = countAnswered(text, kAddPrompts[std::size(kAddPrompts) - 1], kDone);
  const std::size_t removed = countAnswered(text, kRemovePrompt, kDone) +
                              countAnswered(text, kReplacePrompt, kAddPrompts[0]);
  if (added < removed || a.size() != added - removed) {
    fail("the list does not hold what the dialogue reported");
  }
  // Numbers the dialogue refused never reach the list, so it cannot
  // contain more records than "Готово!" lines.
  if (a.size() > count(text, kDone)) fail("more records than completed adds");
  return 0;
}
