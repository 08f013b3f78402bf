#include <clocale>
#include <cstdlib>
#include <iostream>

#include "io/device_streams.h"
#include "main/menu.h"

int main() {
  // The result is ignored: input splitting and number formatting never
  // depend on the locale.
  std::setlocale(LC_ALL, "Russian");
  DeviceInBuf inBuf(standardInput());
  DeviceOutBuf outBuf(standardOutput());
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  Console console(in, out, std::cerr);
  SubscriberBase a(console);
  // Leave without tearing the list down: freeing a million records one by
  // one takes longer than the rest of the exit, and the system reclaims the
  // memory at once. runMenu has flushed the output.
  std::exit(runMenu(console, a));
}
