#include <fcntl.h>

#include <clocale>
#include <cstdlib>
#include <iostream>

#include "main/fd_streams.h"
#include "main/menu.h"

int main() {
  // The result is ignored: input splitting and number formatting never
  // depend on the locale.
  std::setlocale(LC_ALL, "Russian");
#ifdef F_SETPIPE_SZ
  // A script's output through a pipe moves in fewer, larger steps; where
  // stdout is not a pipe this fails and changes nothing.
  fcntl(1, F_SETPIPE_SZ, 1 << 20);
#endif
  FdInBuf inBuf(0);
  FdOutBuf outBuf(1);
  std::istream in(&inBuf);
  std::ostream out(&outBuf);
  Console console(in, out, std::cerr);
  SubscriberBase a(console);
  // Leave without tearing the list down: freeing a million records one by
  // one takes longer than the rest of the exit, and the system reclaims the
  // memory at once. runMenu has flushed the output.
  std::exit(runMenu(console, a));
}
