#include "base/number_index.h"

void NumberIndex::build(const std::vector<Record>& records, const std::vector<bool>& removed) {
  clear();
  queues_.reserve(records.size());
  next_.reserve(records.size());
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (removed[i]) {
      next_.push_back(kNone);
    } else {
      append(records[i].number, i);
    }
  }
}

void NumberIndex::append(std::int32_t number, std::size_t position) {
  const auto at = static_cast<std::uint32_t>(position);
  next_.resize(position + 1, kNone);
  const auto [it, added] = queues_.try_emplace(number, Queue{at, at});
  if (!added) {
    next_[it->second.last] = at;
    it->second.last = at;
  }
}

std::optional<std::size_t> NumberIndex::takeFirst(std::int32_t number) {
  const auto it = queues_.find(number);
  if (it == queues_.end()) return std::nullopt;
  const std::uint32_t first = it->second.first;
  if (next_[first] == kNone) {
    queues_.erase(it);
  } else {
    it->second.first = next_[first];
  }
  return first;
}

void NumberIndex::clear() {
  queues_.clear();
  next_.clear();
}
