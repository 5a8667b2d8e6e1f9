#!/usr/bin/env bash
# Cross-compiles Orvane.dll, both builds of kwab.dll and the programs their tests
# run under Wine into build/windows (the JSON build of kwab.dll into
# build/windows-json-kwab) with MinGW-w64. The type library is written by a small
# program that runs under Wine during the build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh --windows

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc)"
echo "Built build/windows/hosts/com/Orvane.dll"

# The JSON build of kwab.dll, with the compilers of the POSIX thread model.
cmake -S . -B build/windows-json-kwab \
  -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64-posix-threads.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows-json-kwab -j"$(nproc)" --target kwab_json
echo "Built build/windows-json-kwab/platform/windows/kwab/json/kwab.dll"
