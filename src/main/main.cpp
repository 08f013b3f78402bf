#include <clocale>
#include <iostream>

#include "main/fd_streams.h"
#include "main/menu.h"

int main() {
  // The result is ignored: input splitting and number formatting never
  // depend on the locale.
  std::setlocale(LC_ALL, "Russian");
  FdInBuf inBuf(0);
  FdOutBuf outBuf(1);
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  return runMenu(in, out, std::cerr);
}
