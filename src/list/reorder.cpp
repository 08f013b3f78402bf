// Moving the records into an order found by the field sort.

#include "list/record_list.h"
#include "record/prefetch.h"

// Following a cycle of the permutation is a chain of dependent loads, and a
// random permutation is mostly one long cycle. So the cycles are cut at
// leaders (positions that are multiples of kLeaderEvery), whose records are
// set aside first: every stretch from a leader to the next is then
// independent, and several are followed at once, a step of each in turn, so
// that their misses overlap. Cycles that pass no leader are walked last.
void RecordList::reorder(std::uint32_t* from) {
  compact();
  ++reorderings_;
  constexpr std::size_t kLeaderEvery = 256;
  constexpr int kAtOnce = 16;
  const std::size_t n = count_;
  const auto isLeader = [](std::size_t at) { return at % kLeaderEvery == 0; };
  std::vector<Record> setAside((n + kLeaderEvery - 1) / kLeaderEvery);
  for (std::size_t k = 0; k < setAside.size(); ++k) {
    const std::size_t leader = k * kLeaderEvery;
    if (from[leader] != leader) setAside[k] = std::move(at(leader));
  }

  struct Cursor {
    std::size_t at;      // the position to fill
    std::size_t source;  // whose record fills it
  } cursors[kAtOnce];
  int active = 0;
  std::size_t nextLeader = 0;
  // Starts the next stretch that has one (a leader that stays put has none).
  const auto start = [&](Cursor& cursor) {
    for (; nextLeader < setAside.size(); ++nextLeader) {
      const std::size_t leader = nextLeader * kLeaderEvery;
      if (from[leader] == leader) continue;
      cursor = {leader, from[leader]};
      from[leader] = static_cast<std::uint32_t>(leader);
      prefetchRecord(at(cursor.source));
      ++nextLeader;
      return true;
    }
    return false;
  };
  while (active < kAtOnce && start(cursors[active])) ++active;
  while (active > 0) {
    for (int c = 0; c < active;) {
      Cursor& cursor = cursors[c];
      if (isLeader(cursor.source)) {
        at(cursor.at) = std::move(setAside[cursor.source / kLeaderEvery]);
        if (!start(cursor)) cursor = cursors[--active];
        continue;
      }
      at(cursor.at) = std::move(at(cursor.source));
      cursor.at = cursor.source;
      cursor.source = from[cursor.at];
      from[cursor.at] = static_cast<std::uint32_t>(cursor.at);
      prefetchRecord(at(cursor.source));
      SUBSCRIBERS_PREFETCH_HINT(&from[cursor.source]);
      ++c;
    }
  }

  for (std::size_t i = 0; i < n; ++i) {
    if (from[i] == i) continue;
    // A cycle without a leader: set its first record aside, then walk it.
    Record held = std::move(at(i));
    std::size_t to = i;
    for (;;) {
      const std::size_t source = from[to];
      from[to] = static_cast<std::uint32_t>(to);
      if (source == i) break;
      at(to) = std::move(at(source));
      to = source;
    }
    at(to) = std::move(held);
  }
  // Positions changed: the marks and the index are built at the next removal.
  dropIndex();
}
