#!/usr/bin/env bash
# Builds the orvane command line and exports the sample address book with a run log.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF >/dev/null
cmake --build build/release --target orvane -j"$(nproc)"

destination=out/sample-export
mkdir -p "$destination"
build/release/hosts/cli/orvane export address-book "$destination" \
  --address-book samples/address-book.json --log export.log --log-dir "$destination"

echo
echo "The cards are in $destination/; the run log is $destination/export.log."
