# Shared by .ci/run and the stage scripts.
# shellcheck shell=bash
set -euo pipefail
if [ -z "${CI_WORK:-}" ]; then
  CI_WORK=$(mktemp -d)
  export CI_WORK
  trap 'rm -rf "$CI_WORK"' EXIT
fi

section() { echo; echo "== $1 ($(date +%T))"; }

# What a suite skipped, so that no skip goes unseen: the tests print why.
show_skips() {  # show_skips BUILD_DIR
  local skipped
  skipped=$(grep -hE "^skip |\[  SKIPPED \]" "$1/Testing/Temporary/LastTest.log" | sort -u || true)
  [ -z "$skipped" ] || printf 'skipped in %s:\n%s\n' "$1" "$skipped"
}

# The C++ sources matching the patterns given (as git ls-files takes them):
# git's list where git serves this tree, else the files on disk.
cxx_sources() {
  if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
    git ls-files "$@"
  else
    local pattern names=()
    # find's -path, like git's pathspecs, lets * match across directories.
    for pattern in "$@"; do names+=(-o -path "./$pattern"); done
    find . -path ./build -prune -o -type f \( -false "${names[@]}" \) -print | sed 's|^\./||' | sort
  fi
}
