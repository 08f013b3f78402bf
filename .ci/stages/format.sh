#!/usr/bin/env bash
# Every C++ source as .clang-format lays it out.
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "formatting"
mapfile -t sources < <(git ls-files '*.cpp' '*.h')
clang-format --dry-run --Werror "${sources[@]}"
echo "clang-format: ${#sources[@]} files clean"
