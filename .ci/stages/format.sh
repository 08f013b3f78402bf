#!/usr/bin/env bash
# Every C++ source as .clang-format lays it out; found by git, or, in a tree
# git does not serve (a source tarball, another user's clone), on disk.
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "formatting"
mapfile -t sources < <(cxx_sources '*.cpp' '*.h')
[ ${#sources[@]} -gt 0 ] || { echo "formatting: no C++ source found, nothing checked"; exit 1; }
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files clean"
