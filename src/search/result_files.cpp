#include "search/result_files.h"

#include <cerrno>
#include <fstream>

#include "io/error_text.h"
#include "record/prefetch.h"

std::error_code writeResultFile(const char* name, const std::vector<const Record*>& matches,
                                bool reversed) {
  // The buffer outlives the stream, which uses it until it is closed.
  std::vector<char> buffer(std::size_t{1} << 16);
  std::ofstream out;
  out.rdbuf()->pubsetbuf(buffer.data(), static_cast<std::streamsize>(buffer.size()));
  errno = 0;
  // Binary: "\n" stays one byte on every platform.
  out.open(name, std::ios::out | std::ios::trunc | std::ios::binary);
  if (out.is_open()) {
    const std::size_t n = matches.size();
    for (std::size_t i = 0; i < n; ++i) {
      const auto at = [&](std::size_t k) { return matches[reversed ? n - 1 - k : k]; };
      if (i + 2 * kPrefetchDistance < n) prefetchRecord(*at(i + 2 * kPrefetchDistance));
      if (i + kPrefetchDistance < n) prefetchWords(*at(i + kPrefetchDistance));
      writeHeaderLine(out);
      printRecord(out, *at(i));
    }
    out.close();
    if (!out.fail()) return {};
  }
  return {errno != 0 ? errno : EIO, std::generic_category()};
}

bool writeResultFiles(Console& console, const std::vector<const Record*>& matches) {
  console.flush();
  bool complete = true;
  for (const bool reversed : {false, true}) {
    const char* name = reversed ? kReversedFile : kForwardFile;
    const std::error_code error = writeResultFile(name, matches, reversed);
    if (error) {
      console.reportFailure({"Не удалось записать файл ", name, ": ", errorReason(error.value())});
      complete = false;
    }
  }
  return complete;
}
