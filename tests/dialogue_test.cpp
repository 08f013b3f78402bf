#include <gtest/gtest.h>

#include "io/utf16.h"
#include "test_support.h"

namespace {

const std::string kIvanovLine =
    "5\tIvanov\tCenter\tLenina_1\t555\t100\t20\t\t1.2.2010\t\t3.4.2011\n";

TEST(MenuTest, ZeroEndsTheRunAfterTheFirstMenu) {
  int status = -1;
  EXPECT_EQ(RunSession("0\n", nullptr, &status), kMenu);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RunSession("0"), kMenu) << "an item that ends at the end of input is read";
  EXPECT_EQ(RunSession(" \n\n\t 0 trailing"), kMenu);
}

TEST(MenuTest, InvalidChoicesAreAnsweredOnceEach) {
  const std::string invalid = kMenu + kInvalidChoice;
  const struct {
    std::string script;
    std::string output;
  } cases[] = {
      {"9\n0\n", invalid + kMenu},
      {"a\n0\n", invalid + kMenu},
      {"-\n0\n", invalid + kMenu},
      {"Ж\n0\n", invalid + kMenu},
      {"€0", invalid + kMenu},
      {"\xD0\n0\n", invalid + kMenu},
      {"Жa0", invalid + invalid + kMenu},
      {"6 7 0", invalid + invalid + kMenu},
  };
  for (const auto& c : cases) EXPECT_EQ(RunSession(c.script), c.output) << c.script;
  // Every byte from 0x80 on, with the continuation bytes a lead announces:
  // one character, one answer.
  for (int byte = 0x80; byte <= 0xFF; ++byte) {
    const std::size_t length = utf8Length(static_cast<unsigned char>(byte));
    const std::string character =
        static_cast<char>(byte) + std::string(length > 1 ? length - 1 : 0, '\x90');
    EXPECT_EQ(RunSession(character + "0"), invalid + kMenu) << "byte " << byte;
  }
}

TEST(MenuTest, SeveralChoicesOnOneLineRunInTurn) {
  EXPECT_EQ(RunSession("22\n"), kMenu + kHeader + kMenu + kHeader + kMenu);
}

TEST(MenuTest, EndOfInputAtTheMenuEndsTheRun) {
  int status = -1;
  EXPECT_EQ(RunSession("", nullptr, &status), kMenu);
  EXPECT_EQ(status, 0);
  EXPECT_EQ(RunSession("2\n \n"), kMenu + kHeader + kMenu);
}

TEST(AddTest, AllNineFieldsOnOneLine) {
  EXPECT_EQ(RunSession("1 5 Ivanov Center Lenina_1 555 100 20 1 2 2010 3 4 2011\n2\n0\n"),
            R"(Меню:
1.Добавить.
2.Напечатать
3.Удалить
4.Заменить
5.Поиск
0.Выход.

Введите номер: 
Введите фамилию: 
Введите район: 
esВведите адрес: 
Введите телефон: 
Введите оплату установки: 
Введите абонентскую плату: 
Введите дату договора (разделитель-пробел): 
Введите дату последнего платежа (разделитель-пробел): Готово!
Меню:
1.Добавить.
2.Напечатать
3.Удалить
4.Заменить
5.Поиск
0.Выход.
Номер	Фамилия	Район	Адрес	Телефон	Оплата	Абонплата	Дата договора	Дата последнего платежа
5	Ivanov	Center	Lenina_1	555	100	20		1.2.2010		3.4.2011
Меню:
1.Добавить.
2.Напечатать
3.Удалить
4.Заменить
5.Поиск
0.Выход.
)");
}

TEST(AddTest, FieldsSpreadOverLinesGiveTheSameRecord) {
  const std::string expected = kMenu + AddDialogue() + kMenu + kHeader + kIvanovLine + kMenu;
  EXPECT_EQ(
      RunSession("1\n5\nIvanov\nCenter\nLenina_1\n555\n100\n20\n1\n2\n2010\n3 4\n2011\n2\n0\n"),
      expected);
  EXPECT_EQ(RunSession("15 Ivanov Center Lenina_1 555 100 20 1 2 2010 3 4 2011 2 0"), expected)
      << "the menu takes one character; the number read takes the rest";
}

TEST(AddTest, KeepsCyrillicAndNegativeValuesAsTyped) {
  EXPECT_EQ(RunSession("1 -3 Иванов Центральный ул.Ленина,1 -555 0 -20 0 13 0 -1 -1 -1\n2 0"),
            kMenu + AddDialogue() + kMenu + kHeader +
                "-3\tИванов\tЦентральный\tул.Ленина,1\t-555\t0\t-20\t\t0.13.0\t\t-1.-1.-1\n" +
                kMenu);
}

TEST(AddTest, TwoWordSurnameLeavesTheSecondForTheDistrict) {
  EXPECT_EQ(RunSession("1 5 Ivanov Petr Lenina_1 555 100 20 1 2 2010 3 4 2011 2 0"),
            kMenu + AddDialogue() + kMenu + kHeader +
                "5\tIvanov\tPetr\tLenina_1\t555\t100\t20\t\t1.2.2010\t\t3.4.2011\n" + kMenu);
}

TEST(AddTest, BadIntegerIsAskedForAgainKeepingWhatWasRead) {
  std::string expected = kMenu;
  for (int i = 0; i < 9; ++i) {
    expected += kAddPrompts[i];
    if (i == 0) expected += kNotAnInteger + kIntegerOutOfRange;  // "abc", "2147483648"
    if (i == 4) expected += kIntegerOutOfRange + kNotAnInteger;  // "89161234567", "-"
    if (i == 7) expected += kNotAnInteger;                       // "x" in the month
    if (i == 8) expected += kIntegerOutOfRange;                  // "-2147483649x" in the year
  }
  expected += kDone + kMenu + kHeader + kIvanovLine + kMenu;
  EXPECT_EQ(RunSession("1 abc 2147483648 5 Ivanov Center Lenina_1 89161234567 - 555 100 20 1 x 2 "
                       "2010 3 4 -2147483649x 2011\n2\n0\n"),
            expected);
}

TEST(AddTest, DuplicateNumbersAreKeptInInsertionOrder) {
  EXPECT_EQ(RunSession(AddLine(7, "A") + AddLine(7, "B") + "2 0"),
            kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu + kHeader + LineOf(7, "A") +
                LineOf(7, "B") + kMenu);
}

TEST(AddTest, EndOfInputInsideAddEndsTheRunWithoutTheRecord) {
  // Ends after each of the first few items: nothing is appended, nothing more written.
  const std::string items[] = {"1",  "5", "Ivanov", "Center", "Lenina_1", "555", "100",
                               "20", "1", "2",      "2010",   "3",        "4"};
  std::string script;
  std::string expected = kMenu;
  for (std::size_t n = 0; n < std::size(items); ++n) {
    script += items[n] + " ";
    // Item n (after the menu choice) is answered; the prompt for the next one is out.
    if (n < 8) expected += kAddPrompts[n];
    if (n == 10) expected += kAddPrompts[8];  // the contract date is complete
    int status = -1;
    EXPECT_EQ(RunSession(script, nullptr, &status), expected) << script;
    EXPECT_EQ(status, 0);
  }
  // The last part arrives, so the record is complete.
  EXPECT_EQ(RunSession(script + "2011"), kMenu + AddDialogue() + kMenu);
}

TEST(AddTest, EndOfInputAfterAnInvalidIntegerEndsTheRun) {
  EXPECT_EQ(RunSession("1 abc"), kMenu + kAddPrompts[0] + kNotAnInteger);
}

TEST(PrintTest, EmptyListWritesOnlyTheHeader) {
  EXPECT_EQ(RunSession("2\n0\n"), kMenu + kHeader + kMenu);
}

TEST(RemoveTest, RemovesTheFirstRecordWithTheNumber) {
  const std::string three = AddLine(1) + AddLine(2) + AddLine(3);
  const std::string addThree =
      kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu;
  EXPECT_EQ(RunSession(three + "3 2\n2\n0\n"),
            addThree + kRemovePrompt + kDone + kMenu + kHeader + LineOf(1) + LineOf(3) + kMenu);
  EXPECT_EQ(RunSession(three + "3 9\n2\n0\n"), addThree + kRemovePrompt + kNoSuchNumber + kMenu +
                                                   kHeader + LineOf(1) + LineOf(2) + LineOf(3) +
                                                   kMenu);
  EXPECT_EQ(RunSession("3 1\n0\n"), kMenu + kRemovePrompt + kNoSuchNumber + kMenu);
}

TEST(RemoveTest, DuplicatesGoOneAtATime) {
  const std::string script = AddLine(7, "A") + AddLine(7, "B") + "3 7 2 3 7 2 3 7 0";
  const std::string expected = kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu +
                               kRemovePrompt + kDone + kMenu + kHeader + LineOf(7, "B") + kMenu +
                               kRemovePrompt + kDone + kMenu + kHeader + kMenu + kRemovePrompt +
                               kNoSuchNumber + kMenu;
  EXPECT_EQ(RunSession(script), expected);
}

TEST(RemoveTest, BadKeyIsAskedForAgainAndEndOfInputEndsTheRun) {
  EXPECT_EQ(RunSession(AddLine(1) + "3 x 4294967297 1 2 0"),
            kMenu + AddDialogue() + kMenu + kRemovePrompt + kNotAnInteger + kIntegerOutOfRange +
                kDone + kMenu + kHeader + kMenu);
  EXPECT_EQ(RunSession(AddLine(1) + "4 -99999999999 2 2 0"),
            kMenu + AddDialogue() + kMenu + kReplacePrompt + kIntegerOutOfRange + kNoSuchNumber +
                kMenu + kHeader + LineOf(1) + kMenu);
  EXPECT_EQ(RunSession(AddLine(1) + "3 \n"), kMenu + AddDialogue() + kMenu + kRemovePrompt);
  EXPECT_EQ(RunSession(AddLine(1) + "4"), kMenu + AddDialogue() + kMenu + kReplacePrompt);
}

TEST(ReplaceTest, ReplacedRecordGoesToTheEnd) {
  const std::string script =
      AddLine(1, "Old") + AddLine(2) + AddLine(3) + "4 1 1 New D A 1 2 3 4 5 2006 7 8 2009\n2\n0\n";
  EXPECT_EQ(RunSession(script), kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu +
                                    AddDialogue() + kMenu + kReplacePrompt + AddDialogue() + kMenu +
                                    kHeader + LineOf(2) + LineOf(3) + LineOf(1, "New") + kMenu);
}

TEST(ReplaceTest, AbsentNumberAsksForNoField) {
  EXPECT_EQ(RunSession(AddLine(1) + "4 2 2 0"), kMenu + AddDialogue() + kMenu + kReplacePrompt +
                                                    kNoSuchNumber + kMenu + kHeader + LineOf(1) +
                                                    kMenu);
}

TEST(ReplaceTest, ReplacesTheFirstOfDuplicatesWithAnyNumber) {
  const std::string script =
      AddLine(7, "A") + AddLine(7, "B") + "4 7 9 C D A 1 2 3 4 5 2006 7 8 2009 2 0";
  EXPECT_EQ(RunSession(script), kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu +
                                    kReplacePrompt + AddDialogue() + kMenu + kHeader +
                                    LineOf(7, "B") + LineOf(9, "C") + kMenu);
}

TEST(ReplaceTest, EndOfInputInsideTheNewRecordLosesTheOldOne) {
  EXPECT_EQ(RunSession(AddLine(1) + AddLine(2) + "4 1 3 New"),
            kMenu + AddDialogue() + kMenu + AddDialogue() + kMenu + kReplacePrompt +
                kAddPrompts[0] + kAddPrompts[1] + kAddPrompts[2]);
}

// One step of a session: what is typed and what the program answers.
struct Step {
  std::string typed;
  std::string shown;
};
Step Add(int n, const std::string& surname) { return {AddLine(n, surname), AddDialogue() + kMenu}; }
Step Remove(int n, bool found) {
  return {"3 " + std::to_string(n) + "\n", kRemovePrompt + (found ? kDone : kNoSuchNumber) + kMenu};
}
Step Replace(int n, int newNumber, const std::string& surname) {
  return {"4 " + std::to_string(n) + AddLine(newNumber, surname).substr(1),
          kReplacePrompt + AddDialogue() + kMenu};
}
// A binary search by surname for a name that is absent: it only sorts.
Step SortBySurname() {
  return {"5 1 2 Я\n", kCriterionMenu + kAlgorithmMenu + kQueryPrompt + kNothingFound + kMenu};
}
Step List(const std::vector<std::pair<int, std::string>>& records) {
  std::string lines;
  for (const auto& [n, surname] : records) lines += LineOf(n, surname);
  return {"2\n", kHeader + lines + kMenu};
}

// A thousand numbers, every other one removed, then the others: the lookup
// table grows and closes the gaps its removals leave.
std::vector<Step> ManyNumbers() {
  constexpr int kCount = 1000;
  const auto number = [](int k) { return k * 7919 - 300000; };
  std::vector<Step> steps;
  std::vector<std::pair<int, std::string>> left;
  steps.reserve(kCount * 5 / 2 + 2);
  for (int k = 0; k < kCount; ++k) steps.push_back(Add(number(k), "N"));
  for (int k = 0; k < kCount; k += 2) steps.push_back(Remove(number(k), true));
  for (int k = 1; k < kCount; k += 2) left.emplace_back(number(k), "N");
  steps.push_back(List(left));
  for (int k = 0; k < kCount; ++k) steps.push_back(Remove(number(k), k % 2 == 1));
  steps.push_back(List({}));
  return steps;
}

// Patterns that could leave a lookup of the first record with a number
// pointing at the wrong record.
TEST(RemoveTest, FirstRecordWithTheNumberAfterEveryPattern) {
  const struct {
    const char* pattern;
    std::vector<Step> steps;
  } cases[] = {
      {"removed, added again, removed again",
       {Add(7, "A"), Add(8, "B"), Add(7, "C"), Remove(7, true), Add(7, "D"), Remove(7, true),
        Remove(7, true), Remove(7, false), List({{8, "B"}})}},
      {"sorted away after the lookup was prepared",
       {Add(5, "Z"), Add(5, "A"), Remove(9, false), SortBySurname(), Remove(5, true),
        List({{5, "Z"}})}},
      {"sorted away, numbers differing",
       {Add(1, "Z"), Add(2, "A"), Remove(9, false), SortBySurname(), Remove(1, true),
        List({{2, "A"}})}},
      {"replaced to the end, then removed",
       {Add(1, "A"), Add(2, "B"), Add(1, "C"), Replace(1, 1, "D"), Remove(1, true),
        List({{2, "B"}, {1, "D"}}), Remove(1, true), List({{2, "B"}})}},
      {"most removed, front and back, then more added",
       {Add(1, "A"), Add(2, "B"), Add(3, "C"), Add(4, "D"), Add(5, "E"), Remove(1, true),
        Remove(2, true), Remove(3, true), Remove(5, true), Add(6, "F"), Add(4, "G"),
        Remove(4, true), List({{6, "F"}, {4, "G"}})}},
      {"many numbers, half removed", ManyNumbers()},
      {"one removal, too few to compact, then listed",
       {Add(1, "A"), Add(2, "B"), Add(3, "C"), Add(4, "D"), Add(5, "E"), Remove(3, true),
        List({{1, "A"}, {2, "B"}, {4, "D"}, {5, "E"}})}},
      {"listed between removals",
       {Add(1, "A"), Add(2, "B"), Add(1, "C"), Remove(1, true), List({{2, "B"}, {1, "C"}}),
        Remove(1, true), Remove(2, true), List({})}},
  };
  for (const auto& c : cases) {
    std::string typed;
    std::string shown = kMenu;
    for (const Step& step : c.steps) {
      typed += step.typed;
      shown += step.shown;
    }
    EXPECT_EQ(RunSession(typed + "0\n"), shown) << c.pattern;
  }
}

}  // namespace
