#include "io/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>

namespace {

TEST(ErrorReasonTest, GivesTheProgramsOwnTextsAndTheSystemsForOthers) {
  const struct {
    int error;
    std::string reason;
  } cases[] = {
      {EACCES, "Отказано в доступе"},
      {EPERM, "Отказано в доступе"},
      {EISDIR, "Это каталог"},
      {ENOSPC, "На устройстве не осталось места"},
      {EIO, "Ошибка ввода-вывода"},
      {0, "Ошибка ввода-вывода"},  // a device that failed without saying why
      {ENOENT, "Нет такого файла или каталога"},
      {EPIPE, "Канал закрыт читающей стороной"},
      // No text of the program's own: the system's, in the C locale (which
      // differs by platform only in its wording).
      {ENOTDIR, "Not a directory"},
  };
  for (const auto& c : cases) EXPECT_EQ(errorReason(c.error), c.reason) << "errno " << c.error;
}

}  // namespace
