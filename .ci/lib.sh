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
