#include "list/record_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <new>
#include <random>

#include "test_support.h"

namespace {

constexpr std::size_t kBlock = RecordList::kBlockSize;

// Each record carries its serial in its surname, so that a record moved in
// part (number without words) shows.
Record Numbered(std::int32_t number, std::size_t serial) {
  return RecordOf(number, std::to_string(serial) + std::string(serial % 40, 'x'));
}

// Against a plain vector: appends, removals of the first record with a
// number, reads in between (which compact), and reorders by random
// permutations, then a drain to two records and growth again. Small lists
// over a few dozen random numbers fill the index's smallest table (64
// slots) so far that probe chains wrap past its end while removals open
// gaps in them; large ones span several blocks and are drained through
// every size. The memory the header promises is checked after every step.
TEST(RecordListTest, AgreesWithAVector) {
  const struct {
    std::size_t appends;
    std::size_t numbers;  // distinct numbers at most (small rounds: 16 to 32)
    int rounds;
    unsigned removePercent;
  } rows[] = {{100, 0, 1500, 80},
              {kBlock, 7, 1, 10},
              {kBlock + 1, 3000, 1, 50},
              {3 * kBlock + 5, 500, 1, 30},
              // Drained from three blocks, which reach the bound at kBlock records.
              {2 * kBlock + 1, 3000, 1, 0}};
  std::mt19937 rng(31);
  for (const auto& row : rows) {
    for (int round = 0; round < row.rounds; ++round) {
      std::vector<std::int32_t> pool(row.numbers != 0 ? row.numbers
                                                      : 16 + static_cast<std::size_t>(round % 17));
      for (std::int32_t& n : pool) n = static_cast<std::int32_t>(rng());
      const auto number = [&] { return pool[rng() % pool.size()]; };
      RecordList list;
      std::vector<Record> model;
      // Removed records are at most half of those held: a view drops them
      // and the bounds close.
      const auto bounded = [&](std::size_t held, const char* after) {
        ASSERT_LT(list.capacity(), 2 * held + kBlock) << after << ", size " << list.size();
        ASSERT_LE(list.indexCapacity(), 4 * held + 64) << after << ", size " << list.size();
      };
      const auto check = [&](const char* after) {
        const RecordList::View view = list.compactedView();
        bounded(view.size(), after);
        ASSERT_EQ(view.size(), model.size()) << after;
        for (std::size_t i = 0; i < model.size(); ++i) {
          ASSERT_EQ(view[i].surname(), model[i].surname()) << after << ", position " << i;
        }
      };
      for (std::size_t serial = 0; serial < row.appends; ++serial) {
        const std::int32_t added = number();
        list.append(Numbered(added, serial));
        model.push_back(Numbered(added, serial));
        if (rng() % 100 < row.removePercent) {
          const std::int32_t key = number();
          const auto first = std::find_if(model.begin(), model.end(),
                                          [key](const Record& r) { return r.number == key; });
          ASSERT_EQ(list.removeFirst(key), first != model.end()) << "serial " << serial;
          if (first != model.end()) model.erase(first);
        }
        ASSERT_EQ(list.size(), model.size());
        bounded(2 * list.size(), "an append");
        if (rng() % (row.appends / 10 + 1) == 0) check("a read");
        if (rng() % (row.appends / 5 + 1) == 0) {
          std::vector<std::uint32_t> from(list.compactedView().size());
          for (std::uint32_t i = 0; i < from.size(); ++i) from[i] = i;
          std::shuffle(from.begin(), from.end(), rng);
          std::vector<Record> moved(from.size());
          for (std::size_t i = 0; i < from.size(); ++i) moved[i] = model[from[i]];
          model.swap(moved);
          list.reorder(from.data());
          check("a reorder");
        }
      }
      check("the last append");
      // Drained to a couple of records, so that the index shrinks, then
      // grown again. Only a removal that builds the index allocates; only
      // one that compacts frees, once the removed reach half of those held.
      const bool counted = CountAllocations();
      std::size_t removed = 0;  // since the last compaction
      while (model.size() > 2) {
        const std::int32_t key = model[rng() % model.size()].number;
        const std::size_t room = list.indexCapacity();
        const std::size_t blocks = list.capacity();
        const std::size_t before = allocationCount;
        const std::size_t freed = freeCount;
        ASSERT_TRUE(list.removeFirst(key));
        ++removed;
        if (counted) {  // a build allocates its four arrays once each
          ASSERT_LE(allocationCount - before, room == 0 ? 4U : 0U) << "size " << list.size();
          ASSERT_EQ(freeCount != freed, 2 * removed >= list.size() + removed)
              << "size " << list.size();
          if (freeCount != freed) removed = 0;
        }
        // Dropped only past its bound: each build costs O(n).
        ASSERT_TRUE(room == 0 || list.indexCapacity() != 0 || room > 4 * list.size() + 64);
        model.erase(std::find_if(model.begin(), model.end(),
                                 [key](const Record& r) { return r.number == key; }));
        bounded(2 * list.size(), "a removal");
        if (model.size() % 64 == 0) {
          check("a read while draining");
          removed = 0;
        }
        // Blocks freed, at a removal or a read, keep room for 2 n records.
        ASSERT_TRUE(list.capacity() == blocks || list.capacity() >= 2 * list.size()) << blocks;
      }
      for (std::size_t serial = 0; serial < 50; ++serial) {
        model.push_back(Numbered(number(), serial));
        list.append(Record(model.back()));
      }
      check("draining and growing again");
    }
  }
}

// An append that finds no room for a new block fails before it changes
// anything, with the marks and the index in use; once more than a quarter
// is removed, the list is compacted and a full block has room again.
TEST(RecordListTest, FailedAppendLeavesTheListAsItWas) {
  // One block, then no memory for another.
  struct OneBlockList : RecordList {
    Record* newBlock() override {
      if (capacity() != 0) throw std::bad_alloc();
      return RecordList::newBlock();
    }
  } list;
  std::vector<std::int32_t> expected;
  for (std::size_t i = 0; i < kBlock; ++i) {
    list.append(Numbered(static_cast<std::int32_t>(i), i));
    if (i != 5 && i != 7) expected.push_back(static_cast<std::int32_t>(i));
  }
  ASSERT_TRUE(list.removeFirst(5));
  EXPECT_THROW(list.append(Numbered(9, kBlock)), std::bad_alloc);
  EXPECT_EQ(list.size(), kBlock - 1);
  EXPECT_TRUE(list.removeFirst(7));
  EXPECT_FALSE(list.removeFirst(7));
  EXPECT_EQ(Numbers(list), expected);

  // A view compacts (a walk does not): the two places freed are filled
  // again. Then a quarter is removed, not more, and the block stays full.
  list.compactedView();
  for (const std::int32_t n : {5000, 5001}) {
    list.append(Numbered(n, kBlock));
    expected.push_back(n);
  }
  for (std::int32_t n = 100; n < 1124; ++n) ASSERT_TRUE(list.removeFirst(n));
  EXPECT_THROW(list.append(Numbered(7, kBlock)), std::bad_alloc);
  ASSERT_TRUE(list.removeFirst(1124));
  list.append(Numbered(7, kBlock));
  expected.erase(expected.begin() + 98, expected.begin() + 98 + 1025);
  expected.push_back(7);
  EXPECT_EQ(Numbers(list), expected);
}

}  // namespace
