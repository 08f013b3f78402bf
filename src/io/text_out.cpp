#include "io/text_out.h"

void writeText(std::ostream& out, std::string_view text) {
  const auto size = static_cast<std::streamsize>(text.size());
  if (out.rdbuf()->sputn(text.data(), size) != size) {
    out.setstate(std::ios::badbit);
  }
}
