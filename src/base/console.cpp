#include "base/console.h"

namespace {
constexpr std::string_view kNotAnInteger = "\nНеверный ввод, введите целое число: ";
}  // namespace

Console::Console(std::istream& in, std::ostream& out, std::ostream& err)
    : reader_(in, &out), out_(out), err_(err) {}

bool Console::readWord(std::string& word) { return track(reader_.readWord(word)); }

bool Console::readChoice(std::string& choice) { return track(reader_.readChar(choice)); }

ItemReader::IntStatus Console::readIntegerOnce(std::int32_t& value) {
  const ItemReader::IntStatus status = reader_.readInt(value);
  track(status != ItemReader::IntStatus::kEnd);
  return status;
}

bool Console::readInteger(std::int32_t& value) {
  for (;;) {
    switch (readIntegerOnce(value)) {
      case ItemReader::IntStatus::kOk:
        return true;
      case ItemReader::IntStatus::kEnd:
        return false;
      case ItemReader::IntStatus::kInvalid:
        write(kNotAnInteger);
        break;
    }
  }
}

bool Console::readDate(Date& date) {
  return readInteger(date.day) && readInteger(date.month) && readInteger(date.year);
}

void Console::reportError(std::string_view line) {
  out_.flush();
  err_ << line << '\n';
  err_.flush();
}
