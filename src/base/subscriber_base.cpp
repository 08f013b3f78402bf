#include "base/subscriber_base.h"

#include "search/search.h"

namespace {
constexpr std::string_view kDone = "Готово!\n";
constexpr std::string_view kNoSuchNumber = "Такого номера нет!\n";
}  // namespace

bool SubscriberBase::readRecord(Record& r) {
  Console& c = console_;
  // The words gather in one buffer kept from add to add, then go to the record.
  std::string& words = words_;
  words.clear();
  c.write("\nВведите номер: ");
  if (!c.readInteger(r.number)) return false;
  c.write("\nВведите фамилию: ");
  if (!c.readWord(words)) return false;
  const std::size_t surnameEnd = words.size();
  c.write("\nВведите район: ");
  if (!c.readWord(words)) return false;
  const std::size_t districtEnd = words.size();
  c.write("\nesВведите адрес: ");
  if (!c.readWord(words)) return false;
  const std::string_view all = words;
  r.words = RecordWords(all.substr(0, surnameEnd), all.substr(surnameEnd, districtEnd - surnameEnd),
                        all.substr(districtEnd));
  // A huge word's room is not kept for the words to come.
  if (words.capacity() > kWordsKept) std::string().swap(words);
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
  Output& out = console_.out();
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
