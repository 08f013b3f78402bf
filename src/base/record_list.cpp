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
      index_.append(record.number, count_);
    } catch (...) {
      removed_.pop_back();
      throw;
    }
  }
  new (slot(count_)) Record(std::move(record));
  ++count_;
}

bool RecordList::removeFirst(std::int32_t number) {
  if (!indexed_) {
    // The marks are kept from the first removal on, with the index.
    removed_.assign(count_, false);
    index_ = NumberIndex();
    index_.reserve(count_);
    for (std::size_t i = 0; i < count_; ++i) index_.append(at(i).number, i);
    indexed_ = true;
  }
  const std::optional<std::size_t> position = index_.takeFirst(number);
  if (!position) return false;
  // The record itself is left as it is, not even read: at a random place in
  // a large list that would be a cache miss. Compaction frees it.
  removed_[*position] = true;
  ++removedCount_;
  if (removedCount_ * 4 > count_) compact();
  return true;
}

void RecordList::compact() {
  if (removedCount_ == 0) return;
  // What may fail comes before the records move: marks sized to what is
  // kept, once the old ones have room for four times as many, and the index.
  const std::size_t kept = count_ - removedCount_;
  const bool shrink = removed_.capacity() > 4 * kept + kBlockSize;
  std::vector<bool> marks(shrink ? kept : 0);
  index_.dropRemoved(removed_);
  for (std::size_t i = 0, to = 0; i < count_; ++i) {
    if (removed_[i]) continue;
    if (to != i) at(to) = std::move(at(i));
    ++to;
  }
  truncate(kept);
  if (shrink) removed_.swap(marks);
  removed_.assign(kept, false);
  removedCount_ = 0;
}

void RecordList::truncate(std::size_t kept) {
  for (std::size_t i = kept; i < count_; ++i) at(i).~Record();
  count_ = kept;
  // Blocks for as many again wait for the appends to come: a large block
  // freed and taken again makes malloc sweep up every small block freed
  // since.
  while (blocks_.size() * kBlockSize >= 2 * count_ + kBlockSize) {
    std::allocator<Record>().deallocate(blocks_.back(), kBlockSize);
    blocks_.pop_back();
  }
}
