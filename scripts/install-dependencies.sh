#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, when any is missing.
# With --windows: also what the Windows build and its tests under Wine need.
# With --bench: also valgrind, whose callgrind counts the instructions of a card.
set -euo pipefail

packages=(
  cmake g++ make
  libgtest-dev libgmock-dev libbenchmark-dev
  nlohmann-json3-dev rapidjson-dev
  libical-dev pkg-config
  tzdata
  python3 python3-vobject
  clang libclang-rt-dev
  dpkg-dev file man-db bsdextrautils
)
for option in "$@"; do
  case "$option" in
    --windows) packages+=(wine wine64 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64) ;;
    --bench) packages+=(valgrind) ;;
    *) echo "install-dependencies.sh: unknown option $option" >&2; exit 2 ;;
  esac
done

missing=()
for package in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" ||
    missing+=("$package")
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  run_as_root=()
  [[ $(id -u) -eq 0 ]] || run_as_root=(sudo)
  "${run_as_root[@]}" apt-get update -qq
  DEBIAN_FRONTEND=noninteractive "${run_as_root[@]}" apt-get install -y -qq "${missing[@]}"
fi
