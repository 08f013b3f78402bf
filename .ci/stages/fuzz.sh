#!/usr/bin/env bash
# The fuzz target over the seed corpus and past findings for FUZZ_SECONDS
# (120 by default).
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "fuzzing: ${FUZZ_SECONDS:=120} s"
root=$(pwd)
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz
mkdir -p "$CI_WORK/corpus" "$CI_WORK/findings"
cp tests/fuzz/corpus/* tests/fuzz/regressions/* "$CI_WORK/corpus/"
# The harness works in a scratch directory of its own, so every path is
# absolute. Fast inputs get more turns: a mutant of the large-list seed
# costs a third of a second, and mutating it at the default rate left some
# 50 runs a second.
if ! (cd "$CI_WORK" && "$root/build/fuzz/session_fuzzer" -max_total_time="$FUZZ_SECONDS" \
      -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 -entropic_scale_per_exec_time=1 \
      -dict="$root/tests/fuzz/session.dict" -artifact_prefix="$CI_WORK/findings/" \
      "$CI_WORK/corpus" 2>"$CI_WORK/fuzz.log"); then
  tail -n 60 "$CI_WORK/fuzz.log"
  # Kept past the run's scratch folder, to be replayed and kept.
  mkdir -p build/fuzz/findings && cp "$CI_WORK"/findings/* build/fuzz/findings/
  echo "fuzzing found a failing input; keep it under tests/fuzz/regressions:"
  ls -l build/fuzz/findings
  exit 1
fi
grep -E "^Done|stat::number_of_executed_units|stat::average_exec_per_sec|stat::peak_rss_mb" \
  "$CI_WORK/fuzz.log"
runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$CI_WORK/fuzz.log")
[ "${runs:-0}" -ge 10000 ] || { echo "fuzzing ran only ${runs:-0} inputs (at least 10000)"; exit 1; }
