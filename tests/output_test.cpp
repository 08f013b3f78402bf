#include "io/output.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "io/console.h"
#include "io/error_text.h"
#include "test_support.h"

namespace {

// A device that takes at most `perWrite` bytes a call and fails the calls
// whose numbers (from 0) are in `failing`: the first with EIO, others ENOSPC.
class FakeDevice : public Device {
 public:
  FakeDevice(std::size_t perWrite, std::vector<int> failing)
      : perWrite_(perWrite), failing_(std::move(failing)) {
    written_.reserve(1024);  // so that the device itself allocates nothing
  }
  Transfer read(char* /*data*/, std::size_t /*size*/) override { return {0, 0}; }
  Transfer write(const char* data, std::size_t size) override {
    const int call = calls_++;
    for (const int f : failing_) {
      if (f == call) return {0, f == failing_.front() ? EIO : ENOSPC};
    }
    const std::size_t n = std::min(size, perWrite_);
    written_.append(data, n);
    return {n, 0};
  }
  const std::string& written() const { return written_; }

 private:
  std::size_t perWrite_;
  std::vector<int> failing_;
  int calls_ = 0;
  std::string written_;
};

// Writes each piece through a 16-byte Output, then flushes. Describes the
// outcome: the error kept after each piece, whether the flush went
// through, then what reached the device.
std::string WriteThrough(FakeDevice& device, const std::vector<std::string>& pieces) {
  std::string trace;
  Output out(device, 16);
  for (const std::string& piece : pieces) {
    out.write(piece);
    trace += std::to_string(out.error()) + " ";
  }
  trace += out.flush() ? "flushed " : "flush-bad ";
  trace += std::to_string(out.error());
  return trace + " [" + device.written() + "]";
}

TEST(OutputTest, DeliversEverythingItReportsWritten) {
  // Distinct bytes throughout, so that bytes sent twice or out of order show.
  const std::string big = "ABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789abcd";
  const struct {
    std::size_t perWrite;
    std::vector<int> failing;
    std::vector<std::string> pieces;
    std::string expected;
  } cases[] = {
      {100, {}, {"ab", big, "cd"}, "0 0 0 flushed 0 [ab" + big + "cd]"},
      // The device takes a few bytes at a time: all arrive, in order.
      {3, {}, {"ab", big, "cd"}, "0 0 0 flushed 0 [ab" + big + "cd]"},
      // A device that takes nothing and says nothing has failed all the same.
      {0, {}, {"ab"}, "0 flush-bad 5 []"},
      // A large write goes straight to the device after what was buffered;
      // it fails once, and what follows still arrives.
      {100, {1}, {"ab", big, "cd"}, "0 5 5 flushed 5 [abcd]"},
      // The buffered bytes fail: the large write after them is not sent.
      {100, {0}, {"ab", big, "cd"}, "0 5 5 flushed 5 [cd]"},
      // A failure in the middle of a large write: its first part arrived.
      {10, {2}, {big, "cd"}, "5 5 flushed 5 [" + big.substr(0, 20) + "cd]"},
      {100, {0}, {"ab"}, "0 flush-bad 5 []"},
      // Another failure later: the first one's errno value stays.
      {100, {0, 1}, {"ab", big, "cd"}, "0 5 5 flush-bad 5 []"},
      // A text that just fills the buffer waits in it for the flush.
      {100, {0}, {big.substr(0, 16)}, "0 flush-bad 5 []"},
  };
  for (const auto& c : cases) {
    FakeDevice device(c.perWrite, c.failing);
    EXPECT_EQ(WriteThrough(device, c.pieces), c.expected)
        << "per write " << c.perWrite << ", pieces " << c.pieces.size();
  }
}

// After a failure the output is tried again, so that what follows arrives
// once the device recovers; and a failure line allocates nothing (counted
// where the sanitizers' hooks are), so that it is told when memory has run
// out.
TEST(ConsoleFailureTest, OutputRecoversAndFailureLinesAllocateNothing) {
  const bool counted = CountAllocations();
  FakeDevice output(100, {0});
  FakeDevice errors(100, {});
  Output out(output, 16);
  Output err(errors, 1024);
  MemoryDevice in;
  Console console(in, out, err);
  const std::size_t before = allocationCount;
  console.write("0");
  console.flush();
  console.reportFailure({"Не удалось записать файл ", "output.txt", ": ", errorReason(ENOSPC)});
  if (counted) {
    EXPECT_EQ(allocationCount, before);
  }
  console.write("1");
  console.flush();
  EXPECT_EQ(output.written(), "1");
  EXPECT_EQ(errors.written(),
            "Не удалось записать стандартный вывод: Ошибка ввода-вывода\n"
            "Не удалось записать файл output.txt: На устройстве не осталось места\n");
}

}  // namespace
