#include "io/error_text.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>

namespace {

// Each error a user can meet writing standard output or a result file, in
// the program's own words; any other in the system's, whatever the locale.
TEST(ErrorReasonTest, TellsEachErrorAUserMeets) {
  const struct {
    int error;
    std::string reason;
  } cases[] = {
      {EACCES, "Отказано в доступе"},
      {EPERM, "Отказано в доступе"},
      {EISDIR, "Это каталог"},
      {ENOSPC, "На устройстве не осталось места"},
      {EIO, "Ошибка ввода-вывода"},
      {0, "Ошибка ввода-вывода"},
      {EROFS, "Файловая система доступна только для чтения"},
      {EDQUOT, "Превышена дисковая квота"},
      {EFBIG, "Файл слишком велик"},
      {ENOENT, "Нет такого файла или каталога"},
      {ELOOP, "Слишком много уровней символических ссылок"},
      {ETXTBSY, "Файл занят выполняемой программой"},
      {EPIPE, "Канал закрыт читающей стороной"},
      {ENOMEM, "Недостаточно памяти"},
      {EMFILE, "Слишком много открытых файлов"},
      {ENFILE, "Слишком много открытых файлов в системе"},
      {ENXIO, "Нет такого устройства или адреса"},
      {ENOTDIR, "Not a directory"},
      {EAGAIN, "Resource temporarily unavailable"},
  };
  for (const auto& c : cases) EXPECT_EQ(errorReason(c.error), c.reason) << c.error;
}

}  // namespace
