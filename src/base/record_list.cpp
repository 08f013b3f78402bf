#include "base/record_list.h"

#include <memory>
#include <new>
#include <utility>

RecordList::~RecordList() { truncate(0); }

void RecordList::append(Record&& record) {
  // Everything that may fail comes before the record is placed.
  if (count_ == blocks_.size() * kBlockSize) {
    if (blocks_.size() == blockLimit_) throw std::bad_alloc();
    if (blocks_.size() == blocks_.capacity()) blocks_.reserve(2 * blocks_.size() + 1);
    // Only allocated: each record's pages are first touched when it is
    // written, once, where it stays.
    blocks_.push_back(std::allocator<Record>().allocate(kBlockSize));
  }
  if (indexed_) {
    removed_.push_back(false);
    try {
      next_.push_back(kNone);
      link(record.number, static_cast<std::uint32_t>(count_));
    } catch (...) {
      removed_.pop_back();
      next_.resize(count_);
      throw;
    }
  }
  new (slot(count_)) Record(std::move(record));
  ++count_;
}

void RecordList::link(std::int32_t number, std::uint32_t at) {
  // A number already present is found, not allocated.
  Queue& queue = queues_.try_emplace(number, Queue{kNone, kNone}).first->second;
  if (queue.first == kNone) {
    queue.first = at;
  } else {
    next_[queue.last] = at;
  }
  queue.last = at;
  next_[at] = kNone;
}

void RecordList::buildIndex() {
  queues_.clear();
  queues_.reserve(count_);
  removed_.assign(count_, false);
  next_.assign(count_, kNone);
  for (std::size_t i = 0; i < count_; ++i) link(at(i).number, static_cast<std::uint32_t>(i));
  indexed_ = true;
}

bool RecordList::removeFirst(std::int32_t number) {
  if (!indexed_) buildIndex();
  const auto found = queues_.find(number);
  if (found == queues_.end()) return false;
  Queue& queue = found->second;
  const std::uint32_t first = queue.first;
  if (first == queue.last) {
    queues_.erase(found);
  } else {
    queue.first = next_[first];
  }
  // The record itself is left as it is, not even read: at a random place in
  // a large list that would be a cache miss. Compaction frees it.
  removed_[first] = true;
  ++removedCount_;
  if (removedCount_ * 4 > count_) compact();
  return true;
}

void RecordList::compact() {
  if (removedCount_ == 0) return;
  // Old positions to new: the one allocation, before anything moves.
  std::vector<std::uint32_t> moved(count_);
  std::uint32_t kept = 0;
  for (std::size_t i = 0; i < count_; ++i) {
    moved[i] = kept;
    if (removed_[i]) continue;
    if (kept != i) at(kept) = std::move(at(i));
    ++kept;
  }
  // The index follows: no removed position is in it.
  for (auto& entry : queues_) entry.second = {moved[entry.second.first], moved[entry.second.last]};
  for (std::size_t i = 0; i < count_; ++i) {
    if (!removed_[i]) next_[moved[i]] = next_[i] == kNone ? kNone : moved[next_[i]];
  }
  truncate(kept);
  removed_.assign(kept, false);
  next_.resize(kept);
  removedCount_ = 0;
  // Memory follows the list down; a shrink that finds no memory waits for
  // the next compaction.
  if (next_.capacity() > 8 * std::size_t{kept} + 64) {
    try {
      queues_.rehash(0);
      next_.shrink_to_fit();
      removed_.shrink_to_fit();
    } catch (const std::bad_alloc&) {
    }
  }
}

void RecordList::truncate(std::size_t kept) {
  for (std::size_t i = kept; i < count_; ++i) at(i).~Record();
  count_ = kept;
  while (blocks_.size() * kBlockSize >= count_ + kBlockSize) {
    std::allocator<Record>().deallocate(blocks_.back(), kBlockSize);
    blocks_.pop_back();
  }
}
