#include "list/record_list.h"

#include <memory>
#include <utility>

RecordList::~RecordList() { truncate(0); }

void RecordList::append(Record&& record) {
  // Everything that may fail comes before the record is placed.
  if (count_ == capacity() && removedCount_ * kDropAtGrowth > count_) compact();
  if (count_ == capacity()) {
    if (blocks_.size() == blocks_.capacity()) blocks_.reserve(2 * blocks_.size() + 1);
    // Only allocated: each record's pages are first touched when it is
    // written, once, where it stays.
    blocks_.push_back(newBlock());
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
  ++reorderings_;
}

void RecordList::dropIndex() {
  // Assigning {} would keep the capacity.
  std::vector<bool>().swap(removed_);
  index_ = NumberIndex();
  indexed_ = false;
}

bool RecordList::removeFirst(std::int32_t number) {
  if (!indexed_) {
    removed_.assign(count_, false);
    index_ = NumberIndex();  // nothing left of a build that ran out of memory
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
  if (removedCount_ * kDropAtRemoval >= count_) compact();
  return true;
}

void RecordList::compact() {
  if (removedCount_ == 0) return;
  // Nothing here allocates: each large allocation would make malloc sweep
  // every small block freed since, the removed records' words among them.
  const std::size_t kept = count_ - removedCount_;
  index_.dropRemoved(removed_);
  for (std::size_t i = 0, to = 0; i < count_; ++i) {
    if (removed_[i]) continue;
    if (to != i) at(to) = std::move(at(i));
    ++to;
  }
  truncate(kept);
  removed_.assign(kept, false);
  removedCount_ = 0;
  if (indexCapacity() > kIndexRoom * kept + kIndexFloor) dropIndex();
}

void RecordList::truncate(std::size_t kept) {
  for (std::size_t i = kept; i < count_; ++i) at(i).~Record();
  count_ = kept;
  // Spare blocks wait for the appends to come: a large block freed and
  // taken again makes malloc sweep up every small block freed since.
  while (capacity() >= kSpareBlocks * count_ + kBlockSize) {
    std::allocator<Record>().deallocate(blocks_.back(), kBlockSize);
    blocks_.pop_back();
  }
}
