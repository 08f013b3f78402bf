#include "base/removals.h"

void Removals::append(Record&& record) {
  // A full array with removed records in it is compacted rather than grown:
  // growing holds two copies of the list at once. Compacting for a few
  // removed records only would make every append a pass over the list.
  if (records_.size() == records_.capacity() && removedCount_ > records_.size() / 32) compact();
  records_.push_back(std::move(record));
  if (indexed_) {
    removed_.push_back(false);
    index_.append(records_.back().number, records_.size() - 1);
  }
}

bool Removals::removeFirst(std::int32_t number) {
  if (!indexed_) {
    // The marks are kept from the first removal on, with the index.
    removed_.assign(records_.size(), false);
    index_.build(records_);
    indexed_ = true;
  }
  const std::optional<std::size_t> position = index_.takeFirst(number);
  if (!position) return false;
  // The record itself is left as it is, not even read: at a random place in
  // a large list that would be a cache miss. Compaction frees it.
  removed_[*position] = true;
  ++removedCount_;
  if (removedCount_ > size()) compact();
  return true;
}

void Removals::compact() {
  if (removedCount_ == 0) return;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < records_.size(); ++i) {
    if (removed_[i]) continue;
    if (kept != i) records_[kept] = std::move(records_[i]);
    ++kept;
  }
  records_.resize(kept);
  index_.dropRemoved(removed_);
  removed_.assign(kept, false);
  removedCount_ = 0;
}

void Removals::reordered() {
  compact();
  index_.clear();
  removed_.clear();
  indexed_ = false;
}
