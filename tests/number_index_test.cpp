#include "list/number_index.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

// A list of numbers as the index sees it, with the index beside it.
class IndexedList {
 public:
  // Applies `ops` and describes what each lookup gave. Ops, separated by
  // blanks: +N appends a record numbered N; -N takes the first position of
  // N (shown as -N=position, or -N=none); "c" drops the taken records, as
  // compaction does.
  std::string Trace(const std::string& ops) {
    std::istringstream in(ops);
    std::string trace;
    for (std::string op; in >> op;) {
      if (op[0] == '+') {
        Append(std::stoi(op.substr(1)));
      } else if (op[0] == '-') {
        const std::optional<std::size_t> at = Take(std::stoi(op.substr(1)));
        trace += (trace.empty() ? "" : " ") + op + "=" + (at ? std::to_string(*at) : "none");
      } else if (op == "c") {
        Compact();
      }
    }
    return trace;
  }

  void Append(std::int32_t number) {
    numbers_.push_back(number);
    removed_.push_back(false);
    index_.append(number, numbers_.size() - 1);
  }
  std::optional<std::size_t> Take(std::int32_t number) {
    const std::optional<std::size_t> at = index_.takeFirst(number);
    if (at) removed_[*at] = true;
    return at;
  }
  void Compact() {
    index_.dropRemoved(removed_);
    std::vector<std::int32_t> kept;
    for (std::size_t i = 0; i < numbers_.size(); ++i) {
      if (!removed_[i]) kept.push_back(numbers_[i]);
    }
    numbers_.swap(kept);
    removed_.assign(numbers_.size(), false);
  }

 private:
  std::vector<std::int32_t> numbers_;
  std::vector<bool> removed_;
  NumberIndex index_;
};

TEST(NumberIndexTest, FindsTheFirstPositionOfANumber) {
  const struct {
    std::string ops;
    std::string expected;
  } cases[] = {
      {"-7", "-7=none"},
      {"+7 +8 +7 -7 -7 -7 -8 -8", "-7=0 -7=2 -7=none -8=1 -8=none"},
      {"+-2147483648 +2147483647 +0 -0 -2147483647 --2147483648",
       "-0=2 -2147483647=1 --2147483648=0"},
      // Positions after a compaction are those of the records that stay;
      // the links between positions of one number follow them.
      {"+7 +8 +7 +9 +7 -8 c -7 -7 -7 -7", "-8=1 -7=0 -7=1 -7=3 -7=none"},
      {"+1 +2 +1 +2 -1 -2 c +1 -1 -2 -1 -1", "-1=0 -2=1 -1=0 -2=1 -1=2 -1=none"},
  };
  for (const auto& c : cases) {
    IndexedList list;
    EXPECT_EQ(list.Trace(c.ops), c.expected) << c.ops;
  }
}

}  // namespace
