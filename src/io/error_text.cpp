#include "io/error_text.h"

#include <cerrno>

#include "io/platform.h"

namespace {

struct Reason {
  int error;
  const char* text;
};

// Some of these are not defined everywhere.
constexpr Reason kReasons[] = {
    {EACCES, "Отказано в доступе"},
    {EPERM, "Отказано в доступе"},
    {EISDIR, "Это каталог"},
    {ENOSPC, "На устройстве не осталось места"},
    {EIO, "Ошибка ввода-вывода"},
    {EROFS, "Файловая система доступна только для чтения"},
#ifdef EDQUOT
    {EDQUOT, "Превышена дисковая квота"},
#endif
    {EFBIG, "Файл слишком велик"},
    {ENOENT, "Нет такого файла или каталога"},
#ifdef ELOOP
    {ELOOP, "Слишком много уровней символических ссылок"},
#endif
#ifdef ETXTBSY
    {ETXTBSY, "Файл занят выполняемой программой"},
#endif
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
