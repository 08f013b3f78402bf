#include "base/subscriber_base.h"

#include <algorithm>

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
  records.push_back(std::move(r));
  c.write(kDone);
}

void SubscriberBase::print() {
  std::ostream& out = console_.out();
  writeHeaderLine(out);
  for (std::size_t i = 0; i < records.size(); ++i) {
    if (i + kPrefetchDistance < records.size()) prefetchWords(records[i + kPrefetchDistance]);
    printRecord(out, records[i]);
  }
}

std::vector<Record>::iterator SubscriberBase::findByNumber(std::string_view prompt) {
  console_.write(prompt);
  std::int32_t key = 0;
  if (!console_.readInteger(key)) return records.end();
  auto it = std::find_if(records.begin(), records.end(),
                         [key](const Record& r) { return r.number == key; });
  if (it == records.end()) console_.write(kNoSuchNumber);
  return it;
}

void SubscriberBase::remove() {
  auto it = findByNumber("Введите номер договора абонента, которого надо удалить: ");
  if (it == records.end()) return;
  records.erase(it);
  console_.write(kDone);
}

void SubscriberBase::replace() {
  auto it = findByNumber("Введите номер договора абонента, данные о котором надо заменить: ");
  if (it == records.end()) return;
  records.erase(it);
  add();
}

void SubscriberBase::search() { runSearch(console_, records); }
