// Times the byte-level speed tricks of src/io/fast_bytes.h against the
// plain standard-library way, on the bytes a bench session holds (words as
// bench/gen.py writes them, the integers of its record lines):
//   word ends:  fast_bytes::findSpace against std::find_if;
//   integers:   fast_bytes::appendInt against std::to_chars.
// One line each: best and median of R rounds in milliseconds, and the ratio
// of the bests (trick / plain).
//
// usage: bytes_driver [N] [R]   (--help says more)
#include <algorithm>
#include <charconv>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "driver_args.h"
#include "io/fast_bytes.h"

namespace {

// Best and median milliseconds of `rounds` runs of `run`, which returns a
// number that is printed, so that no run is optimized away.
template <typename Run>
std::pair<double, double> Time(std::size_t rounds, Run run, std::size_t& check) {
  std::vector<double> ms;
  for (std::size_t r = 0; r < rounds; ++r) {
    const auto start = std::chrono::steady_clock::now();
    check += run();
    ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                     .count());
  }
  std::sort(ms.begin(), ms.end());
  return {ms.front(), ms[ms.size() / 2]};
}

void Report(const char* what, std::pair<double, double> trick, std::pair<double, double> plain) {
  std::printf(
      "%-10s trick best %7.1f ms, median %7.1f ms   plain best %7.1f ms, median %7.1f ms"
      "   ratio %.2f\n",
      what, trick.first, trick.second, plain.first, plain.second, trick.first / plain.first);
}

}  // namespace

int main(int argc, char** argv) {
  constexpr const char* kUsage =
      "usage: bytes_driver [N] [R]\n"
      "  the bytes of N records (1 to 10000000, default 1000000), R rounds (1 to 1000,\n"
      "  default 7)\n";
  if (argc > 1 && AsksForHelp(argv[1])) {
    std::fputs(kUsage, stdout);
    return 0;
  }
  const std::size_t n = argc > 1 ? Count(argv[1], 10000000) : 1000000;
  const std::size_t rounds = argc > 2 ? Count(argv[2], 1000) : 7;
  if (n == 0 || rounds == 0 || argc > 3) {
    std::fprintf(stderr, "bytes_driver: not valid arguments\n%s", kUsage);
    return 2;
  }
  std::mt19937 rng(1);
  const char* const kSurnames[] = {"Иванов", "Петрова", "Кузнецов", "Константинопольский", "Ли"};
  const char* const kDistricts[] = {"Центральный", "Железнодорожный", "Южный"};
  std::string text;
  std::vector<std::int32_t> numbers;
  for (std::size_t i = 0; i < n; ++i) {
    text += std::string(kSurnames[rng() % 5]) + "-" + std::to_string(rng() % 1000) + "\n" +
            kDistricts[rng() % 3] + "\nул.Садовая," + std::to_string(rng() % 200) + "\n";
    const auto day = static_cast<std::int32_t>(1 + rng() % 28);
    const auto month = static_cast<std::int32_t>(1 + rng() % 12);
    const auto year = static_cast<std::int32_t>(1995 + rng() % 30);
    numbers.insert(
        numbers.end(),
        {static_cast<std::int32_t>(i + 1), static_cast<std::int32_t>(1000000 + rng() % 9000000),
         static_cast<std::int32_t>(rng() % 4000), static_cast<std::int32_t>(rng() % 1000), day,
         month, year, day, month, year});
  }
  const char* const begin = text.data();
  const char* const end = begin + text.size();
  std::size_t check = 0;
  const auto words = [&](auto find) {
    return [&, find] {
      std::size_t count = 0;
      for (const char* p = begin; p < end; ++count) p = find(p, end) + 1;
      return count;
    };
  };
  Report("word ends", Time(rounds, words(fast_bytes::findSpace), check),
         Time(rounds, words([](const char* p, const char* e) {
                return std::find_if(p, e, [](char c) {
                  return fast_bytes::isSpace(static_cast<unsigned char>(c));
                });
              }),
              check));
  std::vector<char> out(numbers.size() * 12);
  const auto format = [&](auto append) {
    return [&, append] {
      char* pos = out.data();
      for (const std::int32_t v : numbers) *(pos = append(pos, v))++ = '\t';
      return static_cast<std::size_t>(pos - out.data());
    };
  };
  Report("integers", Time(rounds, format(fast_bytes::appendInt), check),
         Time(rounds,
              format([](char* pos, std::int32_t v) { return std::to_chars(pos, pos + 11, v).ptr; }),
              check));
  std::printf("(check %zu)\n", check);
}
