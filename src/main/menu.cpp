#include "main/menu.h"

#include <string>

namespace {

constexpr std::string_view kMenu =
    "Меню:\n1.Добавить.\n2.Напечатать\n3.Удалить\n4.Заменить\n5.Поиск\n0.Выход.\n";
// Says "0 to 9" although only 0 to 5 are choices; scripts match this text.
constexpr std::string_view kInvalidChoice = "\nНеверный ввод, введите число от 0 до 9\n";

struct Operation {
  char choice;
  void (SubscriberBase::*run)();
};

constexpr Operation kOperations[] = {
    {'1', &SubscriberBase::add},     {'2', &SubscriberBase::print},  {'3', &SubscriberBase::remove},
    {'4', &SubscriberBase::replace}, {'5', &SubscriberBase::search},
};

}  // namespace

int runMenu(Console& console, SubscriberBase& a) {
  std::string choise;
  for (;;) {
    console.write(kMenu);
    if (!console.readChoice(choise) || choise == "0") break;
    const Operation* op = nullptr;
    for (const Operation& candidate : kOperations) {
      if (choise.size() == 1 && choise[0] == candidate.choice) op = &candidate;
    }
    if (op == nullptr) {
      console.write(kInvalidChoice);
    } else {
      (a.*(op->run))();
      if (console.ended()) break;
    }
  }
  console.out().flush();
  return 0;
}

int runMenu(std::istream& in, std::ostream& out, std::ostream& err) {
  Console console(in, out, err);
  SubscriberBase a(console);
  return runMenu(console, a);
}
