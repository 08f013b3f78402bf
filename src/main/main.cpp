#include <clocale>
#include <cstdlib>

#include "io/output.h"
#include "main/menu.h"

int main() {
  // The result is ignored: input splitting and number formatting never
  // depend on the locale.
  std::setlocale(LC_ALL, "Russian");
  Output out(standardOutput(), std::size_t{1} << 18);
  // Failure lines go out whole, one at a time: a small buffer does.
  Output err(standardError(), 1024);
  Console console(standardInput(), out, err);
  SubscriberBase a(console);
  // Leave without tearing the list down: freeing a million records one by
  // one takes longer than the rest of the exit, and the system reclaims the
  // memory at once. runMenu has flushed the output.
  std::exit(runMenu(console, a));
}
