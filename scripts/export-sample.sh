#!/usr/bin/env bash
# Builds the orvane command line and exports the samples with run logs: the address book,
# and the mail store's contacts and calendar.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh
cmake -S . -B build/release -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF >/dev/null
cmake --build build/release --target orvane -j"$(nproc)"

orvane=build/release/hosts/cli/orvane
destination=out/sample-export
mkdir -p "$destination"
"$orvane" export address-book "$destination" \
  --address-book samples/address-book.json --log export.log --log-dir "$destination"
for type in outlook-contacts outlook-calendar; do
  mkdir -p "$destination/$type"
  "$orvane" export "$type" "$destination/$type" \
    --mail-store samples/mail-store.json --log export.log --log-dir "$destination/$type"
done

echo
echo "The address book's cards are in $destination/; the run log is $destination/export.log."
echo "The mail store's contacts are in $destination/outlook-contacts/ and its calendar entries"
echo "in $destination/outlook-calendar/, each folder with its own export.log."
