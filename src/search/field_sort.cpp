#include "search/field_sort.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <exception>
#include <string_view>
#include <system_error>
#include <thread>

namespace {

// From this many records on, work that splits into halves runs on two threads.
constexpr std::size_t kTwoThreadsFrom = std::size_t{1} << 16;

// Calls work(first, last, half) for the halves 0 and 1 of [0, n): on two
// threads when `large` and a thread can be had, else one after the other.
// What either half throws (no memory) is thrown here, after both are done.
template <typename Work>
void inHalves(std::size_t n, bool large, Work work) {
  const std::size_t mid = n / 2;
  std::exception_ptr failed;
  std::thread other;
  if (large) {
    try {
      other = std::thread([&] {
        try {
          work(std::size_t{0}, mid, 0);
        } catch (...) {
          failed = std::current_exception();
        }
      });
    } catch (const std::system_error&) {
      // Without a second thread the first half runs below.
    }
  }
  try {
    if (!other.joinable()) work(std::size_t{0}, mid, 0);
    work(mid, n, 1);
  } catch (...) {
    if (other.joinable()) other.join();
    throw;
  }
  if (other.joinable()) other.join();
  if (failed) std::rethrow_exception(failed);
}

// The same over n records, on two threads from kTwoThreadsFrom on.
template <typename Work>
void inHalves(std::size_t n, Work work) {
  inHalves(n, n >= kTwoThreadsFrom, work);
}

// ---------------------------------------------------------------------------
// String keys: a 16-byte window of the string, big-endian, so that unsigned
// comparison of (hi, lo) agrees with byte order, plus the record's position.

struct StringKey {
  std::uint64_t hi;
  std::uint64_t lo;
  // Length of the string clipped to one past the window's end, so that
  // strings ending inside the window order by length (a prefix first) and
  // those running past it tie until the next window decides.
  std::uint32_t clipped;
  std::uint32_t index;
};

constexpr std::size_t kWindow = 16;
constexpr std::uint32_t kRunsPast = kWindow + 1;

bool keyLess(const StringKey& a, const StringKey& b) {
  if (a.hi != b.hi) return a.hi < b.hi;
  if (a.lo != b.lo) return a.lo < b.lo;
  return a.clipped < b.clipped;
}

bool keyEqual(const StringKey& a, const StringKey& b) {
  return a.hi == b.hi && a.lo == b.lo && a.clipped == b.clipped;
}

std::uint64_t bigEndian(const unsigned char* p) {
  std::uint64_t word = 0;
  for (int i = 0; i < 8; ++i) word = (word << 8) | p[i];
  return word;
}

// Fills the key for the window of `s` that starts at `offset`.
void fillKey(StringKey& key, const std::string& s, std::size_t offset) {
  unsigned char window[kWindow] = {};
  if (offset < s.size()) {
    std::copy_n(s.data() + offset, std::min(kWindow, s.size() - offset), window);
  }
  key.hi = bigEndian(window);
  key.lo = bigEndian(window + 8);
  key.clipped = static_cast<std::uint32_t>(std::min(s.size(), offset + kRunsPast) -
                                           std::min(s.size(), offset));
}

// Digit `d` of a key in sort order: the 16 window bytes, then the length.
unsigned digitOf(const StringKey& key, int d) {
  if (d < 8) return static_cast<unsigned>(key.hi >> (56 - 8 * d)) & 0xFFU;
  if (d < 16) return static_cast<unsigned>(key.lo >> (56 - 8 * (d - 8))) & 0xFFU;
  return key.clipped;  // at most kRunsPast
}
constexpr int kDigits = 17;

// Most-significant-digit radix sort of keys[0, n) from digit `d` on; `tmp`
// has room for n keys. Small ranges go to a comparison sort.
void radixSort(StringKey* keys, StringKey* tmp, std::size_t n, int d) {
  constexpr std::size_t kSmall = 64;
  for (; d < kDigits; ++d) {
    if (n <= kSmall) {
      std::sort(keys, keys + n, keyLess);
      return;
    }
    std::size_t count[256] = {};
    for (std::size_t i = 0; i < n; ++i) ++count[digitOf(keys[i], d)];
    if (count[digitOf(keys[0], d)] == n) {
      // One bucket: often a run of equal keys, which is done at once.
      const StringKey first = keys[0];
      if (std::all_of(keys + 1, keys + n, [&](const StringKey& k) { return keyEqual(k, first); })) {
        return;
      }
      continue;
    }
    std::size_t start[256];
    std::size_t sum = 0;
    for (int b = 0; b < 256; ++b) {
      start[b] = sum;
      sum += count[b];
    }
    std::size_t next[256];
    std::copy(start, start + 256, next);
    for (std::size_t i = 0; i < n; ++i) tmp[next[digitOf(keys[i], d)]++] = keys[i];
    std::memcpy(static_cast<void*>(keys), tmp, n * sizeof(StringKey));
    for (int b = 0; b < 256; ++b) {
      if (count[b] > 1) radixSort(keys + start[b], tmp + start[b], count[b], d + 1);
    }
    return;
  }
}

// Sorts the keys window by window: the runs still tied after one window are
// sorted by the next, so long shared prefixes cost passes over the short
// keys only. The runs wait on a list of their own, not on the call stack:
// words may share prefixes of millions of bytes.
void sortStringKeys(const std::vector<Record>& records, std::string Record::*field,
                    std::vector<StringKey>& keys) {
  struct Run {
    std::size_t first;
    std::size_t last;
    std::size_t offset;  // the strings agree on every byte before it
  };
  std::vector<StringKey> tmp(keys.size());
  std::vector<Run> runs{{0, keys.size(), 0}};
  while (!runs.empty()) {
    const Run run = runs.back();
    runs.pop_back();
    bool runsPast = false;
    for (std::size_t i = run.first; i < run.last; ++i) {
      if (i + kPrefetchDistance < run.last) {
        prefetchWord(records[keys[i + kPrefetchDistance].index].*field);
      }
      fillKey(keys[i], records[keys[i].index].*field, run.offset);
      runsPast = runsPast || keys[i].clipped == kRunsPast;
    }
    radixSort(keys.data() + run.first, tmp.data() + run.first, run.last - run.first, 0);
    if (!runsPast) continue;
    for (std::size_t tie = run.first; tie < run.last;) {
      std::size_t end = tie + 1;
      while (end < run.last && keyEqual(keys[tie], keys[end])) ++end;
      if (end - tie > 1 && keys[tie].clipped == kRunsPast) {
        runs.push_back({tie, end, run.offset + kWindow});
      }
      tie = end;
    }
  }
}

// ---------------------------------------------------------------------------
// Small integer keys: the key in bits [32, 32 + bits) of a 64-bit word, the
// record's position below it.

// Least-significant-digit radix sort of keys by their bits [32, 32 + bits);
// stable, so equal keys keep the order of their positions.
void radixSortHigh(std::vector<std::uint64_t>& keys, int bits) {
  constexpr int kDigitBits = 11;
  std::vector<std::uint64_t> tmp(keys.size());
  for (int low = 32; low < 32 + bits; low += kDigitBits) {
    const int width = std::min(kDigitBits, 32 + bits - low);
    const std::uint64_t mask = (std::uint64_t{1} << width) - 1;
    std::vector<std::size_t> next(std::size_t{1} << width);
    for (std::uint64_t k : keys) ++next[(k >> low) & mask];
    std::size_t sum = 0;
    for (std::size_t& c : next) {
      const std::size_t here = c;
      c = sum;
      sum += here;
    }
    for (std::uint64_t k : keys) tmp[next[(k >> low) & mask]++] = k;
    keys.swap(tmp);
  }
}

int bitsFor(std::uint32_t largest) {
  int bits = 0;
  for (; largest != 0; largest >>= 1) ++bits;
  return bits;
}

// Positions in order of keys[i] < buckets, equal keys by position: one
// counting pass and one placing pass, each over two halves at once (the
// second half's keys go after the first's in every bucket).
std::vector<std::uint32_t> countingOrder(const std::vector<std::uint32_t>& keys,
                                         std::size_t buckets) {
  std::vector<std::uint32_t> next[2] = {std::vector<std::uint32_t>(buckets),
                                        std::vector<std::uint32_t>(buckets)};
  inHalves(keys.size(), [&](std::size_t first, std::size_t last, int half) {
    std::vector<std::uint32_t>& count = next[half];
    for (std::size_t i = first; i < last; ++i) ++count[keys[i]];
  });
  std::uint32_t sum = 0;
  for (std::size_t b = 0; b < buckets; ++b) {
    const std::uint32_t inFirst = next[0][b];
    const std::uint32_t inSecond = next[1][b];
    next[0][b] = sum;
    next[1][b] = sum + inFirst;
    sum += inFirst + inSecond;
  }
  std::vector<std::uint32_t> from(keys.size());
  inHalves(keys.size(), [&](std::size_t first, std::size_t last, int half) {
    std::vector<std::uint32_t>& at = next[half];
    for (std::size_t i = first; i < last; ++i) from[at[keys[i]]++] = static_cast<std::uint32_t>(i);
  });
  return from;
}

// ---------------------------------------------------------------------------
// Repeated strings. Surnames and districts repeat: a million subscribers
// hold some thousands of distinct surnames and a handful of districts. A
// pass in list order gives each record the number of its distinct value;
// sorting the distinct values alone then gives every record a rank, and the
// ranks sort as small integers. No trip to a scattered string after that.

// Distinct strings, numbered in the order first met. Their bytes are kept
// side by side: comparing against them must not be a trip to a record
// somewhere in the list.
class DistinctValues {
 public:
  std::size_t size() const { return starts_.size() - 1; }
  std::string_view operator[](std::size_t k) const {
    return std::string_view(bytes_).substr(starts_[k], starts_[k + 1] - starts_[k]);
  }
  // The number of `value`, which is added if it is new.
  std::uint32_t numberOf(std::string_view value) {
    const auto hash = static_cast<std::uint32_t>(std::hash<std::string_view>{}(value));
    Slot* slot = find(value, hash);
    if (slot->number == 0) {
      *slot = {static_cast<std::uint32_t>(size()) + 1, hash};
      bytes_.append(value);
      starts_.push_back(bytes_.size());
      if (size() * 2 > table_.size()) grow();
      return static_cast<std::uint32_t>(size()) - 1;
    }
    return slot->number - 1;
  }

 private:
  // Open addressing: number + 1 (0 when empty), beside the hash.
  struct Slot {
    std::uint32_t number;
    std::uint32_t hash;
  };
  Slot* find(std::string_view value, std::uint32_t hash) {
    const std::size_t mask = table_.size() - 1;
    std::size_t at = hash & mask;
    while (table_[at].number != 0 &&
           (table_[at].hash != hash || (*this)[table_[at].number - 1] != value)) {
      at = (at + 1) & mask;
    }
    return &table_[at];
  }
  void grow() {
    std::vector<Slot> grown(table_.size() * 2);
    const std::size_t mask = grown.size() - 1;
    for (const Slot& slot : table_) {
      if (slot.number == 0) continue;
      std::size_t at = slot.hash & mask;
      while (grown[at].number != 0) at = (at + 1) & mask;
      grown[at] = slot;
    }
    table_.swap(grown);
  }

  std::string bytes_;
  std::vector<std::size_t> starts_{0};  // value k is bytes_[starts_[k], starts_[k + 1])
  std::vector<Slot> table_ = std::vector<Slot>(1024);
};

// Fills ranks[i] with the rank of records[i].*field among the distinct
// values, in string order. Returns the number of distinct values, or 0 when
// there are too many for ranking to pay (then `ranks` is unspecified). Each
// half of the list is numbered on its own thread; the second half's values
// are then numbered among the first's.
std::size_t rankValues(const std::vector<Record>& records, std::string Record::*field,
                       std::vector<std::uint32_t>& ranks) {
  const std::size_t n = records.size();
  const std::size_t tooMany = n / 4 + 16;
  DistinctValues halves[2];
  bool manyDistinct[2] = {false, false};
  inHalves(n, [&](std::size_t first, std::size_t last, int half) {
    DistinctValues& values = halves[half];
    for (std::size_t i = first; i < last; ++i) {
      if (i + kPrefetchDistance < last) prefetchWord(records[i + kPrefetchDistance].*field);
      ranks[i] = values.numberOf(records[i].*field);
      if (values.size() > tooMany) {
        manyDistinct[half] = true;
        return;
      }
    }
  });
  if (manyDistinct[0] || manyDistinct[1]) return 0;
  DistinctValues& all = halves[0];
  std::vector<std::uint32_t> inAll(halves[1].size());
  for (std::size_t k = 0; k < inAll.size(); ++k) inAll[k] = all.numberOf(halves[1][k]);
  if (all.size() > tooMany) return 0;

  const std::size_t distinct = all.size();
  std::vector<std::uint32_t> byValue(distinct);
  for (std::size_t k = 0; k < distinct; ++k) byValue[k] = static_cast<std::uint32_t>(k);
  // string_view compares bytes as unsigned values, as the orderings do.
  std::sort(byValue.begin(), byValue.end(),
            [&all](std::uint32_t a, std::uint32_t b) { return all[a] < all[b]; });
  std::vector<std::uint32_t> rankOf(distinct);
  for (std::size_t r = 0; r < distinct; ++r) rankOf[byValue[r]] = static_cast<std::uint32_t>(r);
  for (std::uint32_t& number : inAll) number = rankOf[number];
  inHalves(n, [&](std::size_t first, std::size_t last, int half) {
    const std::vector<std::uint32_t>& rank = half == 0 ? rankOf : inAll;
    for (std::size_t i = first; i < last; ++i) ranks[i] = rank[ranks[i]];
  });
  return distinct;
}

// Positions of the records in string order.
std::vector<std::uint32_t> orderOf(const std::vector<Record>& records, std::string Record::*field) {
  const std::size_t n = records.size();
  std::vector<std::uint32_t> ranks(n);
  const std::size_t distinct = rankValues(records, field, ranks);
  if (distinct != 0) return countingOrder(ranks, distinct);
  std::vector<StringKey> keys(n);
  for (std::size_t i = 0; i < n; ++i) keys[i].index = static_cast<std::uint32_t>(i);
  sortStringKeys(records, field, keys);
  for (std::size_t i = 0; i < n; ++i) ranks[i] = keys[i].index;
  return ranks;
}

// ---------------------------------------------------------------------------
// Date keys. The parts of real dates span small ranges, so each part is
// taken relative to its smallest value and the three are packed, year
// first, into as few bits as they need: usually under 20, which a counting
// sort orders in two passes.

// Flipping the sign bit maps signed order onto unsigned order.
std::uint32_t biased(std::int32_t v) { return static_cast<std::uint32_t>(v) ^ 0x80000000U; }

// The values one part of the dates takes, biased.
struct DateRange {
  std::uint32_t lowest = UINT32_MAX;
  std::uint32_t highest = 0;
  void widen(std::int32_t v) {
    lowest = std::min(lowest, biased(v));
    highest = std::max(highest, biased(v));
  }
  int bits() const { return bitsFor(highest - lowest); }
  static DateRange merged(const DateRange& a, const DateRange& b) {
    return {std::min(a.lowest, b.lowest), std::max(a.highest, b.highest)};
  }
};

std::vector<std::uint32_t> orderOf(const std::vector<Record>& records, Date Record::*field) {
  const std::size_t n = records.size();
  struct Ranges {
    DateRange year;
    DateRange month;
    DateRange day;
  } halves[2];
  inHalves(n, [&](std::size_t first, std::size_t last, int half) {
    Ranges& r = halves[half];
    for (std::size_t i = first; i < last; ++i) {
      const Date& d = records[i].*field;
      r.year.widen(d.year);
      r.month.widen(d.month);
      r.day.widen(d.day);
    }
  });
  const DateRange year = DateRange::merged(halves[0].year, halves[1].year);
  const DateRange month = DateRange::merged(halves[0].month, halves[1].month);
  const DateRange day = DateRange::merged(halves[0].day, halves[1].day);
  const int dayBits = day.bits();
  const int monthBits = month.bits();
  const int bits = year.bits() + monthBits + dayBits;
  if (bits <= 32) {
    std::vector<std::uint32_t> packed(n);
    inHalves(n, [&](std::size_t first, std::size_t last, int /*half*/) {
      for (std::size_t i = first; i < last; ++i) {
        const Date& d = records[i].*field;
        packed[i] = ((biased(d.year) - year.lowest) << monthBits | (biased(d.month) - month.lowest))
                        << dayBits |
                    (biased(d.day) - day.lowest);
      }
    });
    // Up to a million buckets count faster than two radix passes.
    constexpr int kCountingBits = 20;
    if (bits <= kCountingBits) return countingOrder(packed, std::size_t{1} << bits);
    std::vector<std::uint64_t> keys(n);
    for (std::size_t i = 0; i < n; ++i) keys[i] = std::uint64_t{packed[i]} << 32 | i;
    radixSortHigh(keys, bits);
    for (std::size_t i = 0; i < n; ++i) packed[i] = static_cast<std::uint32_t>(keys[i]);
    return packed;
  }
  std::vector<std::uint32_t> from(n);
  // Dates spread over the whole integer range: a comparison sort.
  struct WideKey {
    std::uint64_t yearMonth;
    std::uint32_t day;
    std::uint32_t index;
  };
  std::vector<WideKey> keys(n);
  for (std::size_t i = 0; i < n; ++i) {
    const Date& d = records[i].*field;
    keys[i] = {std::uint64_t{biased(d.year)} << 32 | biased(d.month), biased(d.day),
               static_cast<std::uint32_t>(i)};
  }
  std::sort(keys.begin(), keys.end(), [](const WideKey& a, const WideKey& b) {
    return a.yearMonth != b.yearMonth ? a.yearMonth < b.yearMonth : a.day < b.day;
  });
  for (std::size_t i = 0; i < n; ++i) from[i] = keys[i].index;
  return from;
}

// ---------------------------------------------------------------------------
// Moving the records into order.

// Moves records[from[i]] to position i for every i; `from` is used up
// (every entry ends as its own position).
//
// Following a cycle of the permutation is a chain of dependent loads, and a
// random permutation is mostly one long cycle. So the cycles are cut at
// leaders, the positions that are multiples of kLeaderEvery: the leaders'
// records are set aside first, and then every stretch from a leader to the
// next one is independent of the others. The stretches are shared out
// between two threads, and each thread follows several at once. Cycles that
// pass no leader are walked at the end.
void applyOrder(std::vector<Record>& records, std::vector<std::uint32_t>& from) {
  constexpr std::size_t kLeaderEvery = 256;
  const std::size_t n = from.size();
  const auto isLeader = [](std::size_t at) { return at % kLeaderEvery == 0; };
  const auto prefetch = [&records](std::size_t at) {
    const char* p = reinterpret_cast<const char*>(&records[at]);
    for (std::size_t line = 0; line < sizeof(Record); line += 64) __builtin_prefetch(p + line);
  };
  std::vector<Record> setAside((n + kLeaderEvery - 1) / kLeaderEvery);
  for (std::size_t k = 0; k < setAside.size(); ++k) {
    const std::size_t leader = k * kLeaderEvery;
    if (from[leader] != leader) setAside[k] = std::move(records[leader]);
  }
  // Each thread moves several stretches at once, one step of each in turn:
  // a step's loads were asked for one round before, so the chains' misses
  // overlap instead of following each other.
  inHalves(setAside.size(), n >= kTwoThreadsFrom, [&](std::size_t first, std::size_t last, int) {
    constexpr int kAtOnce = 8;
    struct Cursor {
      std::size_t at;      // the position to fill
      std::size_t source;  // whose record fills it
    } cursors[kAtOnce];
    int active = 0;
    std::size_t nextLeader = first;
    // Starts the next stretch that has one (a leader that stays put has none).
    const auto start = [&](Cursor& cursor) {
      for (; nextLeader < last; ++nextLeader) {
        const std::size_t leader = nextLeader * kLeaderEvery;
        if (from[leader] == leader) continue;
        cursor = {leader, from[leader]};
        from[leader] = static_cast<std::uint32_t>(leader);
        prefetch(cursor.source);
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
          records[cursor.at] = std::move(setAside[cursor.source / kLeaderEvery]);
          if (!start(cursor)) cursor = cursors[--active];
          continue;
        }
        records[cursor.at] = std::move(records[cursor.source]);
        cursor.at = cursor.source;
        cursor.source = from[cursor.at];
        from[cursor.at] = static_cast<std::uint32_t>(cursor.at);
        prefetch(cursor.source);
        __builtin_prefetch(&from[cursor.source]);
        ++c;
      }
    }
  });
  for (std::size_t i = 0; i < n; ++i) {
    if (from[i] == i) continue;
    // A cycle without a leader: set its first record aside, then walk it.
    Record held = std::move(records[i]);
    std::size_t at = i;
    for (;;) {
      const std::size_t source = from[at];
      from[at] = static_cast<std::uint32_t>(at);
      if (source == i) break;
      records[at] = std::move(records[source]);
      at = source;
    }
    records[at] = std::move(held);
  }
}

template <typename Field>
void sortRecords(std::vector<Record>& records, Field Record::*field) {
  std::vector<std::uint32_t> from = orderOf(records, field);
  applyOrder(records, from);
}

}  // namespace

void sortByField(std::vector<Record>& records, std::string Record::*field) {
  sortRecords(records, field);
}
void sortByField(std::vector<Record>& records, Date Record::*field) { sortRecords(records, field); }
