#include "base/subscriber_base.h"

#include "search/search.h"

namespace {
constexpr std::string_view kDone = "Готово!\n";
constexpr std::string_view kNoSuchNumber = "Такого номера нет!\n";
}  // namespace

bool SubscriberBase::readRecord(Record& r) {
  Console& c = console_;
  c.write("\nВведите номер: ");
  if (!c.readInteger(r.number)) return false;
  c.write("\nВведите фамилию: ");
  if (!c.readWord(r.surname)) return false;
  c.write("\nВведите район: ");
  if (!c.readWord(r.district)) return false;
  c.write("\nesВведите адрес: ");
  if (!c.readWord(r.address)) return false;
  c.write("\nВведите телефон: ");
  if (!c.readInteger(r.phone)) return false;
  c.write("\nВведите оплату установки: ");
  if (!c.readInteger(r.installationPayment)) return false;
  c.write("\nВведите абонентскую плату: ");
  if (!c.readInteger(r.subscriptionFee)) return false;
  c.write("\nВведите дату договора (разделитель-пробел): ");
  if (!c.readDate(r.contractDate)) return false;
  c.write("\nВведите дату последнего платежа (разделитель-пробел): ");
  return c.readDate(r.lastPaymentDate);
}

void SubscriberBase::add() {
  Record r;
  // A record cut short by the end of the input is dropped.
  if (!readRecord(r)) return;
  records.append(std::move(r));
  console_.write(kDone);
}

void SubscriberBase::print() {
  std::ostream& out = console_.out();
  writeHeaderLine(out);
  records.forEach([&out](const Record& r) {
    printRecord(out, r);
    return true;
  });
}

bool SubscriberBase::removeAskedFor(std::string_view prompt) {
  console_.write(prompt);
  std::int32_t key = 0;
  if (!console_.readInteger(key)) return false;
  if (!records.removeFirst(key)) {
    console_.write(kNoSuchNumber);
    return false;
  }
  return true;
}

void SubscriberBase::remove() {
  if (removeAskedFor("Введите номер договора абонента, которого надо удалить: ")) {
    console_.write(kDone);
  }
}

void SubscriberBase::replace() {
  if (removeAskedFor("Введите номер договора абонента, данные о котором надо заменить: ")) add();
}

void SubscriberBase::search() { runSearch(console_, records, sorter_); }
