#!/usr/bin/env bash
# Builds everything twice (plain, and with AddressSanitizer and UndefinedBehaviorSanitizer),
# runs every test in both builds, the thread tests under ThreadSanitizer, tests the Debian
# package, builds Orvane.dll and tests it under Wine, then runs each fuzz target for a minute.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
jobs=$(nproc)

cmake -S . -B build/debug -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake --build build/debug -j"$jobs"
ctest --test-dir build/debug --output-on-failure -j"$jobs"

cmake -S . -B build/sanitize -DCMAKE_BUILD_TYPE=Debug -DORVANE_SANITIZE=ON >/dev/null
cmake --build build/sanitize -j"$jobs"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1 \
  ctest --test-dir build/sanitize --output-on-failure -j"$jobs"

# The exports on several threads at once, under ThreadSanitizer.
cmake -S . -B build/thread-sanitize -DCMAKE_BUILD_TYPE=Debug -DORVANE_THREAD_SANITIZE=ON >/dev/null
cmake --build build/thread-sanitize -j"$jobs" --target thread_tests
TSAN_OPTIONS="halt_on_error=1 suppressions=$PWD/tests/threads/thread_sanitizer.supp" \
  ctest --test-dir build/thread-sanitize --output-on-failure -R '^Threads\.'

# The Debian package: installed, used by an unprivileged user, removed again.
scripts/test-package.sh

# Orvane.dll, cross-compiled with MinGW-w64 and tested under Wine.
scripts/test-windows.sh

# Each fuzz target searches for a minute with sanitizers; a finding fails the run.
scripts/fuzz.sh 60
