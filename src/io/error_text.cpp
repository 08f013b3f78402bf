#include "io/error_text.h"

#include <cerrno>

#include "io/platform.h"

namespace {

struct Reason {
  int error;
  const char* text;
};

constexpr Reason kReasons[] = {
    {EACCES, "Отказано в доступе"},
    {EPERM, "Отказано в доступе"},
    {EISDIR, "Это каталог"},
    {ENOSPC, "На устройстве не осталось места"},
    {EIO, "Ошибка ввода-вывода"},
    {EROFS, "Файловая система доступна только для чтения"},
// Not among the C++ standard's names, and not on Windows.
#ifdef EDQUOT
    {EDQUOT, "Превышена дисковая квота"},
#endif
    {EFBIG, "Файл слишком велик"},
    {ENOENT, "Нет такого файла или каталога"},
    {ELOOP, "Слишком много уровней символических ссылок"},
    {ETXTBSY, "Файл занят выполняемой программой"},
    {EPIPE, "Канал закрыт читающей стороной"},
    {ENOMEM, "Недостаточно памяти"},
    {EMFILE, "Слишком много открытых файлов"},
    {ENFILE, "Слишком много открытых файлов в системе"},
    {ENXIO, "Нет такого устройства или адреса"},
};

}  // namespace

const char* errorReason(int error) {
  if (error == 0) error = EIO;
  for (const Reason& reason : kReasons) {
    if (reason.error == error) return reason.text;
  }
  return systemErrorText(error);
}
