#!/usr/bin/env bash
# The cost gate (bench/gate.py: instruction counts at 10^5 and peaks at
# 10^6 against bench/baseline.json), and a smoke run of the timing runner.
cd "$(dirname "$0")/../.." && source .ci/lib.sh
section "cost gate and benchmark smoke run"
cmake --workflow --preset release >/dev/null
python3 bench/gate.py --binary build/release/subscribers
python3 bench/run.py --binary build/release/subscribers --sizes 10000 --runs 1
