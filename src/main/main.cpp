#include <clocale>
#include <cstdlib>
#include <istream>
#include <ostream>

#include "io/device_streams.h"
#include "main/menu.h"

int main() {
  // The result is ignored: input splitting and number formatting never
  // depend on the locale.
  std::setlocale(LC_ALL, "Russian");
  DeviceInBuf inBuf(standardInput());
  DeviceOutBuf outBuf(standardOutput());
  // Failure lines go out whole, one at a time: a small buffer does.
  DeviceOutBuf errBuf(standardError(), 1024);
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  std::ostream err(&errBuf);
  Console console(in, out, err);
  SubscriberBase a(console);
  // Leave without tearing the list down: freeing a million records one by
  // one takes longer than the rest of the exit, and the system reclaims the
  // memory at once. runMenu has flushed the output.
  std::exit(runMenu(console, a));
}
