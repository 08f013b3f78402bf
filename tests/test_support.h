#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "dialogue_texts.h"
#include "list/record_list.h"
#include "main/menu.h"
#include "memory_device.h"
#include "record/record.h"

// A script line that adds record `n` with `surname`; every other field is
// fixed (see LineOf).
inline std::string AddLine(int n, const std::string& surname = "S") {
  return "1 " + std::to_string(n) + " " + surname + " D A 1 2 3 4 5 2006 7 8 2009\n";
}
// The record line of the record that AddLine adds.
inline std::string LineOf(int n, const std::string& surname = "S") {
  return std::to_string(n) + "\t" + surname + "\tD\tA\t1\t2\t3\t\t4.5.2006\t\t7.8.2009\n";
}
// The record that AddLine adds, or one like it with the given district and dates.
inline Record RecordOf(int n, const std::string& surname = "S", const std::string& district = "D",
                       Date contract = {4, 5, 2006}, Date payment = {7, 8, 2009}) {
  Record r;
  r.number = n;
  r.words = RecordWords(surname, district, "A");
  r.phone = 1;
  r.installationPayment = 2;
  r.subscriptionFee = 3;
  r.contractDate = contract;
  r.lastPaymentDate = payment;
  return r;
}

// Allocations and frees so far, where GCC's sanitized build calls the allocator's
// hooks (its runtime's documented interface, for which GCC ships no
// header); CountAllocations() says whether they are counted here.
#ifdef __SANITIZE_ADDRESS__
extern "C" int __sanitizer_install_malloc_and_free_hooks(  // NOLINT(bugprone-reserved-identifier)
    void (*onAllocate)(const volatile void*, std::size_t), void (*onFree)(const volatile void*));
#endif
inline std::size_t allocationCount = 0;
inline std::size_t freeCount = 0;
inline bool CountAllocations() {
#ifdef __SANITIZE_ADDRESS__
  static const int installed = __sanitizer_install_malloc_and_free_hooks(
      [](const volatile void*, std::size_t) { ++allocationCount; },
      [](const volatile void*) { ++freeCount; });
  return installed != 0;
#else
  return false;
#endif
}

inline void Append(RecordList& list, std::vector<Record> records) {
  for (Record& r : records) list.append(std::move(r));
}
inline std::vector<std::int32_t> Numbers(RecordList& list) {
  std::vector<std::int32_t> numbers;
  list.forEach([&](const Record& r) {
    numbers.push_back(r.number);
    return true;
  });
  return numbers;
}

// Runs a whole session on `script`; returns everything written to stdout.
inline std::string RunSession(const std::string& script, std::string* err = nullptr,
                              int* status = nullptr) {
  MemoryDevice in(script);
  MemoryDevice out;
  MemoryDevice errors;
  Output outBuffer(out, 4096);
  Output errBuffer(errors, 1024);
  Console console(in, outBuffer, errBuffer);
  SubscriberBase a(console);
  const int rc = runMenu(console, a);
  if (err != nullptr) *err = errors.written;
  if (status != nullptr) *status = rc;
  return out.written;
}

inline std::string ReadFile(const std::filesystem::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline void WriteFile(const std::filesystem::path& path, const std::string& data) {
  std::ofstream(path, std::ios::binary) << data;
}

// A fresh temporary directory made current for the life of the object; the
// previous directory is restored and the scratch one removed even when an
// assertion fails.
class ScratchDir {
 public:
  ScratchDir() : previous_(std::filesystem::current_path()) {
    std::random_device rd;
    path_ = std::filesystem::temp_directory_path() /
            ("subscribers-test-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directory(path_);
    std::filesystem::current_path(path_);
  }
  ScratchDir(const ScratchDir&) = delete;
  ScratchDir& operator=(const ScratchDir&) = delete;
  ~ScratchDir() {
    std::error_code ec;
    std::filesystem::current_path(previous_, ec);
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path previous_;
  std::filesystem::path path_;
};
