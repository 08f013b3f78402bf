#include "main/menu.h"

#include <new>
#include <string>

namespace {

constexpr std::string_view kMenu =
    "Меню:\n1.Добавить.\n2.Напечатать\n3.Удалить\n4.Заменить\n5.Поиск\n0.Выход.\n";
// Says "0 to 9" although only 0 to 5 are choices; scripts match this text.
constexpr std::string_view kInvalidChoice = "\nНеверный ввод, введите число от 0 до 9\n";

// The operations of the choices '1' to '5'.
constexpr void (SubscriberBase::*kOperations[])() = {
    &SubscriberBase::add, &SubscriberBase::print, &SubscriberBase::remove, &SubscriberBase::replace,
    &SubscriberBase::search};

}  // namespace

int runMenu(Console& console, SubscriberBase& a) {
  try {
    std::string choise;
    for (;;) {
      console.write(kMenu);
      if (!console.readChoice(choise) || choise == "0") break;
      if (choise.size() != 1 || choise[0] < '1' || choise[0] > '5') {
        console.write(kInvalidChoice);
        continue;
      }
      (a.*kOperations[choise[0] - '1'])();
      if (console.ended()) break;
    }
  } catch (const std::bad_alloc&) {
    // A word, a record or the list could not grow; what was being added is
    // not in the list. Nothing sensible is left to do but say so.
    console.reportFailure({"Недостаточно памяти"});
    return 1;
  }
  console.flush();
  return console.failed() ? 1 : 0;
}
