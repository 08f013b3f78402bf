// One run of the whole dialogue on arbitrary bytes as its standard input,
// through the program's reader and output buffers, checked beyond "no crash":
// the status is 1 exactly when a failure line was written, and each
// failure of the device is told; the run ends at 0 or at the end of input;
// the output never outgrows the bytes read times the longest answer to one
// byte (a listing), so a loop that writes without reading is stopped; the
// list holds exactly what the dialogue reported as added and not removed.
// A session whose output passes a budget has its input cut short there and
// is checked all the same.
// Byte 0 below 6 only sets the size of each read; from 6 on, four more
// bytes shape the device (see shapeOf) and a byte 0xFF in the session
// repeats an add (see expand), so that lists cross every size at which the
// sort changes its way; from 0xF0 on, the rest goes to the converters.
#include <algorithm>
#include <cerrno>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <sstream>
#include <string>
#include <string_view>

#include "base/subscriber_base.h"
#include "dialogue_texts.h"
#include "io/console.h"
#include "io/error_text.h"
#include "io/utf16.h"
#include "main/menu.h"
#include "memory_device.h"

namespace {

[[noreturn]] void fail(const char* what) {
  std::fprintf(stderr, "session harness: %s\n", what);
  std::abort();
}

struct Shape {
  std::size_t readStep = 1;
  std::size_t writeCap = SIZE_MAX;
  std::size_t outBuffer = std::size_t{1} << 18;
  bool failRead = false;   // the read numbered failAt fails, and those after
  bool failWrite = false;  // the write numbered failAt fails, after taking half
  std::size_t failAt = 0;
  int error = 0;
};

// Device calls a run may take, about: past them a device that moves a
// byte per call would cost seconds under the sanitizers, with no more to
// find. The input a session expands to and the output it may write before
// its input is cut short are tied to them.
constexpr std::size_t kCalls = std::size_t{1} << 16;
// kCalls calls of `perCall` bytes, or `most` if that is less.
constexpr std::size_t budget(std::size_t perCall, std::size_t most) {
  return perCall >= most / kCalls ? most : perCall * kCalls;
}

// Standard input and output of one run: reads `readStep` bytes at a time,
// so that item boundaries fall across every position of the buffers, and
// keeps what is written.
struct FuzzDevice : Device {
  FuzzDevice(std::string_view bytes, const Shape& how, std::size_t most)
      : input(bytes), shape(how), perByte(most) {}

  Transfer read(char* data, std::size_t size) override {
    if (shape.failRead && reads++ >= shape.failAt) {
      readFailed = true;
      return {0, shape.error};
    }
    // Past the output budget the input ends: repeated listings of a large
    // list are legitimate but would take minutes.
    if (attempted > budget(shape.writeCap, std::size_t{16} << 20)) {
      overBudget = true;
      return {0, 0};
    }
    const std::size_t n = std::min({size, shape.readStep, input.size() - pos});
    std::memcpy(data, input.data() + pos, n);
    pos += n;
    return {n, 0};
  }

  Transfer write(const char* data, std::size_t size) override {
    if (counting) {
      lines += static_cast<std::size_t>(std::count(data, data + size, '\n'));
      return {size, 0};
    }
    std::size_t n = std::min(size, shape.writeCap);
    // Writes that fail count as well: the run goes on after them.
    attempted += n;
    if (attempted > perByte * (pos + 1)) fail("output keeps growing without reading input");
    if (shape.failWrite && writes++ >= shape.failAt) {
      if (writeFailed) return {0, shape.error};
      writeFailed = true;
      n = (size + 1) / 2;  // a part is taken first
    }
    output.append(data, n);
    return {n, 0};
  }

  std::string_view input;
  const Shape& shape;
  std::size_t perByte;
  std::size_t pos = 0;
  std::size_t reads = 0;
  std::size_t writes = 0;
  std::size_t attempted = 0;
  bool readFailed = false;
  bool writeFailed = false;
  bool overBudget = false;
  std::string output;
  // After the run: a listing whose lines are only counted.
  bool counting = false;
  std::size_t lines = 0;
};

// Whether `what` stands in `text` at `at`, compared a byte at a time: the
// fuzzer hooks every memcmp, which over a large session's output cost more
// than the session.
bool standsAt(std::string_view text, std::size_t at, std::string_view what) {
  if (at > text.size() || text.size() - at < what.size()) return false;
  for (std::size_t i = 0; i < what.size(); ++i) {
    if (text[at + i] != what[i]) return false;
  }
  return true;
}

// Every place where `what` stands in `text`, found by Horspool's skips:
// Russian text starts most words with the same byte, so a search anchored
// on the first byte stops everywhere.
template <typename Visit>
void forEachPlace(std::string_view text, std::string_view what, Visit visit) {
  const std::size_t m = what.size();
  std::size_t skip[256];
  for (std::size_t& s : skip) s = m;
  for (std::size_t i = 0; i + 1 < m; ++i) skip[static_cast<unsigned char>(what[i])] = m - 1 - i;
  for (std::size_t at = 0; m != 0 && at + m <= text.size();
       at += skip[static_cast<unsigned char>(text[at + m - 1])]) {
    if (standsAt(text, at, what)) visit(at);
  }
}

// Occurrences of `prompt` answered (after any requests for an integer or
// for one in range) by `answer`.
std::size_t countAnswered(std::string_view text, std::string_view prompt, std::string_view answer) {
  std::size_t n = 0;
  forEachPlace(text, prompt, [&](std::size_t at) {
    std::size_t next = at + prompt.size();
    while (standsAt(text, next, kNotAnInteger) || standsAt(text, next, kIntegerOutOfRange)) {
      next +=
          standsAt(text, next, kNotAnInteger) ? kNotAnInteger.size() : kIntegerOutOfRange.size();
    }
    if (standsAt(text, next, answer)) ++n;
  });
  return n;
}

// Made once per process, under a name of its own so that parallel workers
// do not share result files, and removed at exit.
struct ScratchDirectory {
  ScratchDirectory() {
    std::random_device random;
    path = std::filesystem::temp_directory_path() /
           ("subscribers-fuzz-" + std::to_string(random()) + "-" + std::to_string(random()));
    std::filesystem::create_directories(path);
    std::filesystem::current_path(path);
  }
  ~ScratchDirectory() {
    std::error_code ignored;
    std::filesystem::current_path(std::filesystem::temp_directory_path(), ignored);
    std::filesystem::remove_all(path, ignored);
  }
  std::filesystem::path path;
};

// Whether `item` is an integer the dialogue takes as it is.
bool isInteger(std::string_view item) {
  if (!item.empty() && (item[0] == '-' || item[0] == '+')) item.remove_prefix(1);
  if (item.empty() || item.size() > 9) return false;  // short enough to fit
  return std::all_of(item.begin(), item.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// The session with the line before each 0xFF replaced by adds, as many as
// the byte b after it says: b % 32 + 1 below 0xF0, so that most runs stay
// fast, else 2^(b - 0xEF). The line's first thirteen items are the fields,
// each '#' in them the add's number, and an integer field that is not one
// that number. No more than 8192 adds (past a block of the list, 4096)
// and `mostBytes` in all.
std::string expand(std::string_view session, std::size_t mostBytes) {
  constexpr std::size_t kMostAdds = 8192;
  constexpr std::size_t kFields = 13;
  const auto isWordField = [](std::size_t f) { return f >= 1 && f <= 3; };
  std::string out;
  std::size_t adds = 0;
  for (std::size_t i = 0; i < session.size(); ++i) {
    if (static_cast<unsigned char>(session[i]) != 0xFF || i + 1 >= session.size()) {
      out.push_back(session[i]);
      continue;
    }
    const std::size_t lineStart = out.find_last_of('\n') + 1;  // 0 when none
    std::istringstream line(out.substr(lineStart));
    out.resize(lineStart);
    std::string fields[kFields];
    for (std::string& field : fields) {
      if (!(line >> field)) field = "#";
    }
    const auto b = static_cast<unsigned char>(session[++i]);
    const std::size_t copies = b < 0xF0 ? b % 32 + 1U : std::size_t{1} << (b - 0xF0 + 1);
    for (std::size_t k = 1; k <= copies && adds < kMostAdds && out.size() < mostBytes;
         ++k, ++adds) {
      out += "1";
      for (std::size_t f = 0; f < kFields; ++f) {
        std::string item;
        for (const char c : fields[f]) item += c == '#' ? std::to_string(k) : std::string(1, c);
        out += " " + (isWordField(f) || isInteger(item) ? item : std::to_string(k));
      }
      out += "\n";
    }
  }
  return out;
}

// `text` converted whole and in pieces of sizes drawn from `seed`, which
// must give the same.
template <typename Converter, typename Out, typename In>
Out convertBoth(In text, std::uint8_t seed) {
  Converter whole;
  Converter split;
  Out once;
  Out inPieces;
  whole.convert(text, once);
  whole.finish(once);
  std::minstd_rand sizes(seed + 1U);
  for (std::size_t at = 0, n = 0; at < text.size(); at += n) {
    n = std::min<std::size_t>(text.size() - at, 1 + sizes() % 9);
    split.convert(text.substr(at, n), inPieces);
  }
  split.finish(inPieces);
  if (once != inPieces) fail("a converter gives another text in pieces");
  return once;
}

void checkConverters(std::uint8_t seed, std::string_view bytes) {
  const auto units = convertBoth<Utf8ToUtf16, std::u16string>(bytes, seed);
  ConsoleOutput console;
  std::u16string shown;
  for (std::size_t at = 0, taken = 0; at < bytes.size(); at += taken) {
    shown += console.next(bytes.substr(at), taken);
  }
  if (shown + std::u16string(console.finish()) != units) fail("a console shows another text");
  std::u16string raw(bytes.size() / 2, u'\0');
  std::memcpy(raw.data(), bytes.data(), raw.size() * sizeof(char16_t));
  const auto text = convertBoth<Utf16ToUtf8, std::string>(std::u16string_view(raw), seed);
  // What one converter made, the other takes back unchanged.
  const auto back = convertBoth<Utf8ToUtf16, std::u16string>(std::string_view(text), seed);
  if (convertBoth<Utf16ToUtf8, std::string>(std::u16string_view(back), seed) != text) {
    fail("a round trip changes converted text");
  }
}

// The device that byte 0 and, past 5, bytes config[0..3] describe: write
// and buffer sizes, a read or write failing from a call on, and its error.
// (Bits that once shaped an input buffer and a count of waiting bytes are
// read by nothing now; the corpus keeps them.)
Shape shapeOf(std::uint8_t first, const std::uint8_t* config) {
  static constexpr std::size_t kSteps[] = {1, 2, 3, 7, 64, 1 << 16};
  static constexpr std::size_t kWriteCaps[] = {1, 2, 7, 64, 4096, 1 << 16, 1 << 20, SIZE_MAX};
  static constexpr std::size_t kOutBuffers[] = {16, 100, 4096, 1 << 18};
  static constexpr int kErrors[] = {EIO, ENOSPC, EAGAIN};
  Shape shape;
  shape.readStep = kSteps[first % std::size(kSteps)];
  if (config == nullptr) return shape;
  shape.writeCap = kWriteCaps[config[0] % 8];
  shape.outBuffer = kOutBuffers[config[0] / 8 % 4];
  shape.failRead = (config[2] & 1) != 0;
  shape.failWrite = (config[2] & 2) != 0;
  shape.error = kErrors[config[2] / 4 % 3];
  // Anywhere in a session: the low six bits, times 1, 32, 1024 or 32768.
  shape.failAt = std::size_t{config[3] & 0x3FU} << (config[3] >> 6) * 5;
  return shape;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static const ScratchDirectory scratch;
  if (size == 0) return 0;
  if (data[0] >= 0xF0) {
    if (size > 1)
      checkConverters(data[1], std::string_view(reinterpret_cast<const char*>(data) + 2, size - 2));
    return 0;
  }
  const bool shaped = data[0] >= 6 && size >= 5;
  const Shape shape = shapeOf(data[0], shaped ? data + 1 : nullptr);
  const std::size_t skip = shaped ? 5 : 1;
  const std::string_view raw(reinterpret_cast<const char*>(data) + skip, size - skip);
  // A session expanded to no more than a budget of calls of its device in,
  // and out: a listing of the list is about as long as the session.
  const std::size_t mostBytes =
      budget(std::min(shape.readStep, shape.writeCap), std::size_t{1} << 20);
  const std::string input = shaped ? expand(raw, mostBytes) : std::string(raw);

  // The longest answer to one byte is a listing: each record line holds at
  // most its words (all from the input) and 126 other bytes, and a record
  // takes at least nine input bytes.
  const std::size_t perByte = 4096 + input.size() + 126 * (input.size() / 9 + 1);
  FuzzDevice device(input, shape, perByte);
  MemoryDevice errors;
  int status = 0;
  std::size_t held = 0;
  bool ended = false;
  {
    Output out(device, shape.outBuffer);
    Output err(errors, 1024);
    Console console(device, out, err);
    SubscriberBase a(console);
    status = runMenu(console, a);
    ended = console.ended();
    if (!device.writeFailed) {
      // What the list holds, as a listing shows it: a line a record.
      out.flush();
      device.counting = true;
      a.print();
      out.flush();
      held = device.lines - 1;
    }
    if (ended && device.pos != input.size() && !device.readFailed && !device.overBudget) {
      fail("end of input reported before the input ended");
    }
    if (!console.ended() && device.readFailed) fail("a failed read did not end the run");
  }
  // Over memory nothing fails but the devices and the result files, which
  // go to a scratch directory: the status is 1 exactly when a failure line
  // was written, and each failure of a device is told with its reason.
  if (status != (errors.written.empty() ? 0 : 1)) fail("exit status disagrees with stderr");
  const auto told = [&errors, &shape](const char* line) {
    return errors.written.find(line + std::string(errorReason(shape.error))) != std::string::npos;
  };
  if (device.readFailed && !told("Не удалось прочитать стандартный ввод: ")) {
    fail("a failed read is not told");
  }
  if (device.writeFailed && !told("Не удалось записать стандартный вывод: ")) {
    fail("a failed write is not told");
  }
  // What follows reads the dialogue, which a failed write cut short.
  if (device.writeFailed) return 0;

  const std::string& text = device.output;
  // It ended at the end of input (or at a failed read), or at a 0 typed at the menu.
  if (!ended && !standsAt(text, text.size() - std::min(text.size(), kMenu.size()), kMenu)) {
    fail("the run ended neither at 0 nor at the end of input");
  }

  const std::size_t added = countAnswered(text, kAddPrompts[std::size(kAddPrompts) - 1], kDone);
  const std::size_t removed = countAnswered(text, kRemovePrompt, kDone) +
                              countAnswered(text, kReplacePrompt, kAddPrompts[0]);
  if (added < removed || held != added - removed) {
    fail("the list does not hold what the dialogue reported");
  }
  return 0;
}
