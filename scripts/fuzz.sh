#!/usr/bin/env bash
# Builds the fuzz targets with libFuzzer, AddressSanitizer and UBSan (clang) and runs
# each one for SECONDS (default 60) from its seed corpus in fuzz/corpus/. An input
# that breaks a target is kept in build/fuzz/findings/ and the script fails; fix the
# fault, then add the input to the target's corpus, where every test build replays it.
#   scripts/fuzz.sh [SECONDS] [TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true
targets=("$@")
if ((${#targets[@]} == 0)); then
  targets=(address_book_reader item_file_name vcard_writer quoted_printable mail_store_reader)
fi

scripts/install-dependencies.sh
cmake -S . -B build/fuzz -DCMAKE_CXX_COMPILER=clang++ -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DORVANE_TESTS=OFF -DORVANE_FUZZ=ON >/dev/null
cmake --build build/fuzz -j"$(nproc)" --target "${targets[@]/#/fuzz_}"

mkdir -p build/fuzz/findings
# New inputs go to scratch corpora; the repository's stays as it is.
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT
for target in "${targets[@]}"; do
  mkdir "$scratch/$target"
  echo "fuzzing $target for ${seconds}s"
  log=build/fuzz/findings/"$target".log
  status=0
  UBSAN_OPTIONS="suppressions=$PWD/fuzz/undefined_behavior.supp" \
    build/fuzz/fuzz/fuzz_"$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix=build/fuzz/findings/"$target"- \
    "$scratch/$target" fuzz/corpus/"$target" >"$log" 2>&1 || status=$?
  grep -E "^(stat::number_of_executed_units|SUMMARY)|broken:|Test unit written" "$log" || true
  if ((status != 0)); then
    echo "fuzz_$target found an input that breaks it: see build/fuzz/findings/" >&2
    exit 1
  fi
done
echo "fuzzing: every target ran ${seconds}s without a finding"
