#!/usr/bin/env bash
# Builds Orvane.dll and tests it under Wine, in a fresh prefix of its own:
# registration and its removal, a C++ host, a VBScript and a JScript host, first
# with no source to export from, then with a stand-in mail client and address book.
set -euo pipefail
cd "$(dirname "$0")/.."

scripts/build-windows.sh
build=build/windows/hosts/com

prefix=$(mktemp -d "${TMPDIR:-/tmp}/orvane-wine.XXXXXX")
trap 'wineserver -k 2>/dev/null || true; rm -rf "$prefix"' EXIT
export WINEPREFIX="$prefix" WINEARCH=win64 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
unset DISPLAY  # message boxes return at once instead of waiting for a click

run() { timeout 120 wine "$@"; }
failed=0
fail() { echo "FAILED: $*"; failed=1; }

# Runs a test program; it passes when it ends normally and its last line says so.
expect_pass() {
  local name=$1
  shift
  local output status=0
  output=$(run "$@" 2>&1) || status=$?
  output=$(tr -d '\r' <<<"$output")
  if ((status == 0)) && [[ "$(tail -n 1 <<<"$output")" == "RESULT: PASS"* ]]; then
    echo "passed: $name ($(tail -n 1 <<<"$output" | cut -d' ' -f3) checks)"
  else
    echo "$output"
    fail "$name (exit status $status)"
  fi
}

echo "Creating a Wine prefix in $prefix"
run wineboot --init >/dev/null 2>&1 || true

install_folder="$prefix/drive_c/Orvane"
tests="$prefix/drive_c/tests"
mkdir -p "$install_folder" "$tests" "$prefix/drive_c/work"
cp "$build/Orvane.dll" "$install_folder/"
cp "$build/tests/com_host_test.exe" "$build/tests/fake_mail_client.dll" "$build/tests/platform_test.exe" \
  hosts/com/tests/scripts/* "$tests/"

# The type library is the same, byte for byte, when written again.
cp "$build/orvane_typelib_builder.exe" "$tests/"
run "$tests/orvane_typelib_builder.exe" 'C:\tests\again.tlb' || fail "type library builder"
cmp -s "$build/orvane.tlb" "$tests/again.tlb" && echo "passed: type library written again is the same" ||
  fail "type library written again differs"

class='HKCR\CLSID\{8EF4FB7D-EAB9-4CBE-85C3-F3B37A0AAF73}'
keys=(
  "$class"
  "$class\\InprocServer32"
  'HKCR\Orvane.Orvane2'
  'HKCR\Orvane.Orvane2.1'
  'HKCR\TypeLib\{2C8653C1-3481-420C-813A-6A7A7DE9A431}'
  'HKCR\Interface\{2DAFEC86-1925-40AA-887A-E44D49135AB5}'
  'HKCR\Interface\{14A070F7-D997-4FAC-BD8C-F9B98F4E8D10}'
)
registry_text() { run reg query "$@" 2>/dev/null | tr -d '\r'; }

# Registration
run regsvr32 /s 'C:\Orvane\Orvane.dll' || fail "regsvr32"
for key in "${keys[@]}"; do
  run reg query "$key" >/dev/null 2>&1 || fail "registered key missing: $key"
done
grep -q 'ThreadingModel *REG_SZ *Apartment' <<<"$(registry_text "$class\\InprocServer32")" ||
  fail "ThreadingModel Apartment"
grep -qi 'C:\\Orvane\\Orvane.dll' <<<"$(registry_text "$class\\InprocServer32")" ||
  fail "InprocServer32 names the DLL"
grep -q 'Orvane.Orvane2.1' <<<"$(registry_text 'HKCR\Orvane.Orvane2\CurVer')" ||
  fail "CurVer of the version-independent ProgID"
echo "passed: registration"

# Nothing to export from: no mail client, no kwab.dll
for host in "C++ host:$tests/com_host_test.exe" "VBScript:cscript //nologo C:\tests\all_methods.vbs" \
            "JScript:cscript //nologo C:\tests\all_methods.js"; do
  # shellcheck disable=SC2086
  expect_pass "${host%%:*}, no sources" ${host#*:} bare 'C:\work\bare'
done

# The test address book: kwab.dll beside Orvane.dll
cp "$build/tests/test-address-book/kwab.dll" "$install_folder/"
for host in "C++ host:$tests/com_host_test.exe" "VBScript:cscript //nologo C:\tests\all_methods.vbs" \
            "JScript:cscript //nologo C:\tests\all_methods.js"; do
  # shellcheck disable=SC2086
  expect_pass "${host%%:*}, address book" ${host#*:} address-book 'C:\work\address-book'
done

# A stand-in mail client registered under the mail client's class
run regsvr32 /s 'C:\tests\fake_mail_client.dll' || fail "regsvr32 of the fake mail client"
expect_pass "Windows platform services" "$tests/platform_test.exe" 'C:\work\platform' 'C:\Orvane'
for host in "C++ host:$tests/com_host_test.exe" "VBScript:cscript //nologo C:\tests\all_methods.vbs" \
            "JScript:cscript //nologo C:\tests\all_methods.js"; do
  # shellcheck disable=SC2086
  expect_pass "${host%%:*}, mail client" ${host#*:} mail-client 'C:\work\mail-client'
done
run regsvr32 /s /u 'C:\tests\fake_mail_client.dll' || fail "regsvr32 /u of the fake mail client"

# Removal: every key written is gone
run regsvr32 /s /u 'C:\Orvane\Orvane.dll' || fail "regsvr32 /u"
for key in "${keys[@]}"; do
  if run reg query "$key" >/dev/null 2>&1; then fail "key left after regsvr32 /u: $key"; fi
done
if run reg query 'HKCR\CLSID\{0006F03A-0000-0000-C000-000000000046}' >/dev/null 2>&1; then
  fail "the fake mail client's key left"
fi
((failed == 0)) && echo "passed: removal"

if ((failed)); then
  echo "Windows tests FAILED"
  exit 1
fi
echo "Windows tests passed"
