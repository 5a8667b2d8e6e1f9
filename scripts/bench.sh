#!/usr/bin/env bash
# Builds the benchmarks (bench/) in Release and prints one table: each case's
# time per item against the bare file work it needs, and its peak memory, as
# the medians of three runs. Takes a few minutes; a regular expression as the
# first argument runs only the benchmarks whose names match it.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh --bench
cmake -S . -B build/bench -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF >/dev/null
cmake --build build/bench -j"$(nproc)" --target orvane_bench
/usr/bin/python3 bench/run.py build/bench/bench/orvane_bench build/bench/scratch "${1:-.}"
