#include "base/subscriber_base.h"

#include "search/field_sort.h"
#include "search/search.h"

namespace {
constexpr std::string_view kDone = "Готово!\n";
constexpr std::string_view kNoSuchNumber = "Такого номера нет!\n";
}  // namespace

void SubscriberBase::add() {
  Console& c = console_;
  Record r;
  // Each read stops the dialogue at end of input; the half-read record is dropped.
  c.write("\nВведите номер: ");
  if (!c.readInteger(r.number)) return;
  c.write("\nВведите фамилию: ");
  if (!c.readWord(r.surname)) return;
  c.write("\nВведите район: ");
  if (!c.readWord(r.district)) return;
  c.write("\nesВведите адрес: ");
  if (!c.readWord(r.address)) return;
  c.write("\nВведите телефон: ");
  if (!c.readInteger(r.phone)) return;
  c.write("\nВведите оплату установки: ");
  if (!c.readInteger(r.installationPayment)) return;
  c.write("\nВведите абонентскую плату: ");
  if (!c.readInteger(r.subscriptionFee)) return;
  c.write("\nВведите дату договора (разделитель-пробел): ");
  if (!c.readDate(r.contractDate)) return;
  c.write("\nВведите дату последнего платежа (разделитель-пробел): ");
  if (!c.readDate(r.lastPaymentDate)) return;
  // A full array with removed records in it is compacted rather than grown:
  // growing holds two copies of the list at once. Compacting for a few
  // removed records only would make every append a pass over the list.
  if (records.size() == records.capacity() && removedCount_ > records.size() / 32) compact();
  records.push_back(std::move(r));
  removed_.push_back(false);
  if (indexed_) index_.append(records.back().number, records.size() - 1);
  c.write(kDone);
}

void SubscriberBase::print() {
  compact();
  std::ostream& out = console_.out();
  writeHeaderLine(out);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i + kPrefetchDistance < records.size()) prefetchWords(records[i + kPrefetchDistance]);
    printRecord(out, records[i]);
  }
}

bool SubscriberBase::removeAskedFor(std::string_view prompt) {
  console_.write(prompt);
  std::int32_t key = 0;
  if (!console_.readInteger(key)) return false;
  if (!indexed_) {
    index_.build(records, removed_);
    indexed_ = true;
  }
  const std::optional<std::size_t> position = index_.takeFirst(key);
  if (!position) {
    console_.write(kNoSuchNumber);
    return false;
  }
  // The record itself is left as it is, not even read: at a random place in
  // a large list that would be a cache miss. Compaction frees it.
  removed_[*position] = true;
  ++removedCount_;
  if (removedCount_ > size()) compact();
  return true;
}

void SubscriberBase::compact() {
  if (removedCount_ == 0) return;
  std::size_t kept = 0;
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (removed_[i]) continue;
    if (kept != i) records[kept] = std::move(records[i]);
    ++kept;
  }
  records.resize(kept);
  if (indexed_) index_.dropRemoved(removed_);
  removed_.assign(kept, false);
  removedCount_ = 0;
}

void SubscriberBase::dropIndex() {
  index_.clear();
  indexed_ = false;
}

void SubscriberBase::remove() {
  if (removeAskedFor("Введите номер договора абонента, которого надо удалить: ")) {
    console_.write(kDone);
  }
}

void SubscriberBase::replace() {
  if (removeAskedFor("Введите номер договора абонента, данные о котором надо заменить: ")) add();
}

void SubscriberBase::search() {
  compact();
  runSearch(console_, records);
  // A binary search may have reordered the list.
  dropIndex();
}
