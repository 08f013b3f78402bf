#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

#include "main/menu.h"

// Texts the program writes, spelled out once so transcripts stay readable.
inline const std::string kMenu =
    "Меню:\n1.Добавить.\n2.Напечатать\n3.Удалить\n4.Заменить\n5.Поиск\n0.Выход.\n";
inline const std::string kInvalidChoice = "\nНеверный ввод, введите число от 0 до 9\n";
inline const std::string kNotAnInteger = "\nНеверный ввод, введите целое число: ";
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

// Runs a whole session on `script`; returns everything written to stdout.
inline std::string RunSession(const std::string& script, std::string* err = nullptr,
                              int* status = nullptr) {
  std::istringstream in(script);
  std::ostringstream out;
  std::ostringstream errors;
  const int rc = runMenu(in, out, errors);
  if (err != nullptr) *err = errors.str();
  if (status != nullptr) *status = rc;
  return out.str();
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

// A fresh temporary directory made current for the life of the object; the
// previous directory is restored and the scratch one removed even when an
// assertion fails.
class ScratchDir {
 public:
  ScratchDir() : previous_(std::filesystem::current_path()) {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("subscribers-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directory(path_);
    std::filesystem::current_path(path_);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
