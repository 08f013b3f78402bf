#pragma once

#include <string>

// The program's fixed texts, spelled out once for every C++ test and the
// fuzz harness, independently of the program's own spelling, so that a
// changed prompt or a lost line end fails the tests.
inline const std::string kMenu =
    "Меню:\n1.Добавить.\n2.Напечатать\n3.Удалить\n4.Заменить\n5.Поиск\n0.Выход.\n";
inline const std::string kInvalidChoice = "\nНеверный ввод, введите число от 0 до 9\n";
inline const std::string kNotAnInteger = "\nНеверный ввод, введите целое число: ";
inline const std::string kIntegerOutOfRange =
    "\nЧисло вне диапазона, введите целое число от -2147483648 до 2147483647: ";
inline const std::string kHeader =
    "Номер\tФамилия\tРайон\tАдрес\tТелефон\tОплата\tАбонплата\tДата договора\tДата последнего "
    "платежа\n";
inline const std::string kAddPrompts[] = {
    "\nВведите номер: ",
    "\nВведите фамилию: ",
    "\nВведите район: ",
    "\nesВведите адрес: ",
    "\nВведите телефон: ",
    "\nВведите оплату установки: ",
    "\nВведите абонентскую плату: ",
    "\nВведите дату договора (разделитель-пробел): ",
    "\nВведите дату последнего платежа (разделитель-пробел): ",
};
inline const std::string kDone = "Готово!\n";
// A whole add dialogue that succeeds: nine prompts, then "Готово!".
inline std::string AddDialogue() {
  std::string s;
  for (const std::string& p : kAddPrompts) s += p;
  return s + kDone;
}
inline const std::string kRemovePrompt = "Введите номер договора абонента, которого надо удалить: ";
inline const std::string kReplacePrompt =
    "Введите номер договора абонента, данные о котором надо заменить: ";
inline const std::string kNoSuchNumber = "Такого номера нет!\n";
inline const std::string kCriterionMenu =
    "Выберите критерий поиска:\n1.Фамилия\n2.Район\n3.Дата заключения договора\n4.Дата "
    "последнего платежа\n";
inline const std::string kAlgorithmMenu =
    "Выберите алгоритм поиска:\n1.Последовательный\n2.Двоичный\n";
inline const std::string kQueryPrompt = "Введите запрос:";
inline const std::string kNothingFound = "Ничего не найдено!";
inline const std::string kSearchDone = "Готово!";
