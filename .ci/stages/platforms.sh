#!/usr/bin/env bash
# The other platforms: Windows (mingw-w64, run under wine), clang with
# libc++, and 32-bit x86 (natively where the kernel runs 32-bit programs,
# else under qemu-i386; CI_M32=qemu takes the emulated path anywhere).
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "platforms: Windows (mingw-w64, run under wine), clang with libc++, 32-bit"

# Windows: one program without DLLs of its own, and the zip users download.
cmake --preset windows >/dev/null
cmake --build --preset windows
if x86_64-w64-mingw32-objdump -p build/windows/subscribers.exe | grep "DLL Name" |
   grep -viE "kernel32|msvcrt|api-ms-win|ucrtbase"; then
  echo "subscribers.exe needs the DLLs above"; exit 1
fi
(cd build/windows && rm -f subscribers-*.zip && cpack -G ZIP >/dev/null)
listing=$(unzip -l build/windows/subscribers-*.zip)
for file in subscribers.exe LICENSE.txt README.txt; do
  grep -q "/$file\$" <<<"$listing" || { echo "missing from the zip: $file"; exit 1; }
done
export WINEPREFIX="$CI_WORK/wine" WINEDEBUG=-all
wineboot --init >/dev/null 2>&1 || true
python3 tests/e2e/run_cases.py build/windows/subscribers.exe tests/e2e/cases --wrapper wine
python3 tests/e2e/run_failures.py build/windows/subscribers.exe --windows wine
python3 tests/terminal/run_wine_console.py build/windows/subscribers.exe wine

# libc++: the transcripts. ldd is read whole before grep -q stops early:
# with pipefail, the writer's SIGPIPE would fail the check on a busy machine.
cmake --preset libcxx >/dev/null
cmake --build --preset libcxx
linked=$(ldd build/libcxx/subscribers)
grep -q "libc++.so" <<<"$linked" || { echo "not linked with libc++"; exit 1; }
python3 tests/e2e/run_cases.py build/libcxx/subscribers tests/e2e/cases

# 32 bits: GoogleTest built for 32 bits from the sources libgtest-dev
# ships, then the unit tests and the transcripts.
export SUBSCRIBERS_M32_GTEST="$CI_WORK/gtest-m32" SUBSCRIBERS_M32_RUNNER=""
cmake -S /usr/src/googletest -B "$CI_WORK/gtest-m32-build" -DCMAKE_BUILD_TYPE=Release \
  -DBUILD_GMOCK=OFF -DCMAKE_CXX_FLAGS=-m32 -DCMAKE_C_FLAGS=-m32 \
  -DCMAKE_INSTALL_PREFIX="$SUBSCRIBERS_M32_GTEST" >/dev/null
cmake --build "$CI_WORK/gtest-m32-build" -j2 >/dev/null
cmake --install "$CI_WORK/gtest-m32-build" >/dev/null
# Whether the kernel runs 32-bit programs, tried on a small one.
echo 'int main() { return 0; }' >"$CI_WORK/m32.cpp"
g++ -m32 "$CI_WORK/m32.cpp" -o "$CI_WORK/m32"
file "$CI_WORK/m32" | grep -q "32-bit" || { echo "g++ -m32 made no 32-bit program"; exit 1; }
if [ "${CI_M32:-auto}" != qemu ] && "$CI_WORK/m32"; then
  echo "32-bit: run natively"
elif qemu-i386 "$CI_WORK/m32"; then
  SUBSCRIBERS_M32_RUNNER=qemu-i386
  why="this kernel does not run 32-bit programs"
  [ "${CI_M32:-auto}" != qemu ] || why="CI_M32=qemu"
  echo "32-bit: run under qemu-i386 ($why)"
else
  echo "32-bit: programs run neither natively nor under qemu-i386"; exit 1
fi
# A fresh configure: the emulator may differ from the last run's.
rm -f build/m32/CMakeCache.txt
cmake --preset m32 >/dev/null
cmake --build --preset m32
kind=$(file build/m32/subscribers)
grep -q "32-bit" <<<"$kind" || { echo "not a 32-bit program"; exit 1; }
ctest --preset m32
wrapper=()
[ -z "$SUBSCRIBERS_M32_RUNNER" ] || wrapper=(--wrapper "$SUBSCRIBERS_M32_RUNNER")
python3 tests/e2e/run_cases.py build/m32/subscribers tests/e2e/cases "${wrapper[@]}"
