#!/usr/bin/env bash
# clang-tidy (.clang-tidy) over the program and the tests, as the dev preset
# compiles them, and over the Windows platform file as mingw-w64 does.
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "clang-tidy"
cmake --preset dev >/dev/null
mapfile -t units < <(cxx_sources 'src/*.cpp' 'tests/*.cpp' | grep -v platform_windows)
[ ${#units[@]} -gt 0 ] || { echo "clang-tidy: no C++ source found, nothing checked"; exit 1; }
# Its count of warnings in system headers is noise; findings are errors.
# A few files per call, one call per core.
if ! printf '%s\n' "${units[@]}" |
     xargs -P 2 -n 4 clang-tidy --quiet -p build/dev >"$CI_WORK/tidy.log" 2>&1; then
  grep -v "warnings generated" "$CI_WORK/tidy.log"
  exit 1
fi
# The Windows platform file: clang for that target, with mingw's C++ and
# Windows headers (libstdc++'s first: they #include_next the C ones) but
# its own intrinsics.
cmake --preset windows >/dev/null
windows_args=(--extra-arg=--target=x86_64-w64-mingw32 --extra-arg=-nostdinc++)
for dir in $(echo | x86_64-w64-mingw32-g++ -E -x c++ - -v 2>&1 |
             sed -n '/<...> search starts here/,/End of search list/p' | grep '/c++'); do
  windows_args+=(--extra-arg=-isystem"$dir")
done
windows_args+=(--extra-arg=-isystem/usr/x86_64-w64-mingw32/include)
if ! clang-tidy --quiet -p build/windows "${windows_args[@]}" src/io/platform_windows.cpp \
     >"$CI_WORK/tidy.log" 2>&1; then
  grep -v "warnings generated" "$CI_WORK/tidy.log"
  exit 1
fi
echo "clang-tidy: $((${#units[@]} + 1)) files clean"
