#include "search/result_files.h"

#include <memory>

#include "io/error_text.h"
#include "io/output.h"
#include "io/platform.h"
#include "record/prefetch.h"

int writeResultFile(const char* name, const std::vector<const Record*>& matches, bool reversed) {
  int error = 0;
  const std::unique_ptr<Device> file = createFile(name, error);
  if (file == nullptr) return error;
  Output out(*file, std::size_t{1} << 16);
  const std::size_t n = matches.size();
  const auto at = [&](std::size_t k) { return matches[reversed ? n - 1 - k : k]; };
  for (std::size_t i = 0; i < n; ++i) {
    if (i + kPrefetchDistance < n) prefetchWords(*at(i + kPrefetchDistance));
    writeHeaderLine(out);
    printRecord(out, *at(i));
  }
  out.flush();
  const int closed = file->close();
  return out.error() != 0 ? out.error() : closed;
}

bool writeResultFiles(Console& console, const std::vector<const Record*>& matches) {
  console.flush();
  bool complete = true;
  for (const bool reversed : {false, true}) {
    const char* name = reversed ? kReversedFile : kForwardFile;
    const int error = writeResultFile(name, matches, reversed);
    if (error != 0) {
      console.reportFailure({"Не удалось записать файл ", name, ": ", errorReason(error)});
      complete = false;
    }
  }
  return complete;
}
