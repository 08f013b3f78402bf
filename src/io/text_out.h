#pragma once

#include <ostream>
#include <string_view>

// Writes `text` straight to the stream buffer; a short write sets badbit.
// Console and result files go through here so that fixed texts cost one copy.
inline void writeText(std::ostream& out, std::string_view text) {
  const auto size = static_cast<std::streamsize>(text.size());
  if (out.rdbuf()->sputn(text.data(), size) != size) out.setstate(std::ios::badbit);
}
