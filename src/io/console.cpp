#include "io/console.h"

#include "io/error_text.h"

namespace {
constexpr std::string_view kNotAnInteger = "\nНеверный ввод, введите целое число: ";
constexpr std::string_view kOutOfRange =
    "\nЧисло вне диапазона, введите целое число от -2147483648 до 2147483647: ";
}  // namespace

Console::Console(Device& in, Output& out, Output& err) : reader_(in, &out), out_(out), err_(err) {}

void Console::flush() {
  out_.flush();
  checkOutput();
}

bool Console::track(bool got) {
  checkOutput();
  if (!got && !ended_ && reader_.failed()) {
    writeError({"Не удалось прочитать стандартный ввод: ", errorReason(reader_.error())});
  }
  ended_ = ended_ || !got;
  return got;
}

void Console::noteOutputFailure() {
  // Told once; later writes are still tried: the device may recover, and
  // result files of later searches do not depend on it.
  outputFailed_ = true;
  writeError({"Не удалось записать стандартный вывод: ", errorReason(out_.error())});
}

void Console::writeError(std::initializer_list<std::string_view> line) {
  failed_ = true;
  for (const std::string_view piece : line) err_.write(piece);
  err_.write("\n");
  err_.flush();
}

bool Console::readWord(std::string& word) { return track(reader_.readWord(word)); }

bool Console::readChoice(std::string& choice) { return track(reader_.readChar(choice)); }

ItemReader::IntStatus Console::readIntegerOnce(std::int32_t& value) {
  const ItemReader::IntStatus status = reader_.readInt(value);
  track(status != ItemReader::IntStatus::kEnd);
  return status;
}

bool Console::readInteger(std::int32_t& value) {
  for (;;) {
    const ItemReader::IntStatus status = readIntegerOnce(value);
    if (status == ItemReader::IntStatus::kOk) return true;
    if (status == ItemReader::IntStatus::kEnd) return false;
    write(status == ItemReader::IntStatus::kInvalid ? kNotAnInteger : kOutOfRange);
  }
}

bool Console::readDate(Date& date) {
  return readInteger(date.day) && readInteger(date.month) && readInteger(date.year);
}

void Console::reportFailure(std::initializer_list<std::string_view> line) {
  flush();
  writeError(line);
}
