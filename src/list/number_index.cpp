#include "list/number_index.h"

#include <algorithm>

std::size_t NumberIndex::home(std::int32_t number) const {
  // Fibonacci hashing spreads consecutive numbers over the table.
  const std::uint64_t mixed = static_cast<std::uint32_t>(number) * 0x9E3779B97F4A7C15ULL;
  return static_cast<std::size_t>(mixed >> 32) & (queues_.size() - 1);
}

std::size_t NumberIndex::slotOf(std::int32_t number) const {
  const std::size_t mask = queues_.size() - 1;
  std::size_t at = home(number);
  while (queues_[at].first != kNone && queues_[at].number != number) at = (at + 1) & mask;
  return at;
}

void NumberIndex::reserve(std::size_t records) {
  std::size_t size = std::max(kSmallest, queues_.size());
  while (size < records * 2) size *= 2;
  if (size > queues_.size()) resize(size);
  // moved_ grows with next_, so that dropRemoved never allocates.
  next_.reserve(records);
  moved_.reserve(records);
}

void NumberIndex::append(std::int32_t number, std::size_t position) {
  if ((used_ + 1) * 2 > queues_.size()) resize(std::max(kSmallest, queues_.size() * 2));
  if (position == next_.capacity()) {
    next_.reserve(2 * position + 1);
    moved_.reserve(2 * position + 1);
  }
  const auto at = static_cast<std::uint32_t>(position);
  next_.resize(position + 1, kNone);
  Queue& queue = queues_[slotOf(number)];
  if (queue.first == kNone) {
    queue = {number, at, at};
    ++used_;
  } else {
    next_[queue.last] = at;
    queue.last = at;
  }
}

std::optional<std::size_t> NumberIndex::takeFirst(std::int32_t number) {
  if (queues_.empty()) return std::nullopt;
  const std::size_t slot = slotOf(number);
  Queue& queue = queues_[slot];
  if (queue.first == kNone) return std::nullopt;
  const std::uint32_t first = queue.first;
  if (first == queue.last) {
    erase(slot);
  } else {
    queue.first = next_[first];
  }
  return first;
}

void NumberIndex::erase(std::size_t at) {
  const std::size_t mask = queues_.size() - 1;
  for (std::size_t next = (at + 1) & mask; queues_[next].first != kNone; next = (next + 1) & mask) {
    // The entry at `next` may fill the hole unless its home lies after the
    // hole, up to `next` (cyclically).
    const std::size_t from = home(queues_[next].number);
    const bool staysPut = at <= next ? (at < from && from <= next) : (at < from || from <= next);
    if (!staysPut) {
      queues_[at] = queues_[next];
      at = next;
    }
  }
  queues_[at].first = kNone;
  --used_;
}

void NumberIndex::resize(std::size_t size) {
  std::vector<Queue> old(size, Queue{0, kNone, kNone});
  old.swap(queues_);
  for (const Queue& queue : old) {
    if (queue.first != kNone) queues_[slotOf(queue.number)] = queue;
  }
}

void NumberIndex::dropRemoved(const std::vector<bool>& removed) {
  moved_.resize(removed.size());
  std::uint32_t kept = 0;
  for (std::size_t i = 0; i < removed.size(); ++i) {
    moved_[i] = kept;
    if (!removed[i]) ++kept;
  }
  for (Queue& queue : queues_) {
    if (queue.first == kNone) continue;
    queue.first = moved_[queue.first];
    queue.last = moved_[queue.last];
  }
  // In place: a position only moves down, onto one already read.
  for (std::size_t i = 0; i < removed.size(); ++i) {
    if (removed[i]) continue;
    next_[moved_[i]] = next_[i] == kNone ? kNone : moved_[next_[i]];
  }
  next_.resize(kept);
}
