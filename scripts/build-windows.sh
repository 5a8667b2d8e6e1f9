#!/usr/bin/env bash
# Cross-compiles Orvane.dll (and the programs its tests run under Wine) into
# build/windows with MinGW-w64. The type library is written by a small
# program that runs under Wine during the build.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/install-dependencies.sh --windows

cmake -S . -B build/windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build/windows -j"$(nproc)"
echo "Built build/windows/hosts/com/Orvane.dll"
