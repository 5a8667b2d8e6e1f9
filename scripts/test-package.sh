#!/usr/bin/env bash
# Builds the Debian package of the orvane command line, installs it with dpkg -i, and checks
# the installation as a user meets it: an unprivileged user exports the installed sample
# address book with the installed program into a folder of its own, the manual page renders
# without warnings and names every command and option, the bash completion answers, and the
# package's dependencies cover the program's libraries. The package is removed afterwards,
# also when a check fails. Needs root (it installs a package).
set -euo pipefail
cd "$(dirname "$0")/.."

# Installing a package needs root: as anyone else, run again through sudo.
[[ $(id -u) -eq 0 ]] || exec sudo "$0" "$@"

build=build/package
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=Release -DORVANE_TESTS=OFF \
  -DCMAKE_INSTALL_PREFIX=/usr >/dev/null
cmake --build "$build" -j"$(nproc)" >/dev/null
rm -f "$build"/orvane_*.deb
(cd "$build" && cpack -G DEB >/dev/null)
package=$(echo "$build"/orvane_*.deb)

passed=0
failed=0
check() {  # check DESCRIPTION COMMAND...: runs the command, counts and reports the outcome
  local description=$1
  shift
  if "$@"; then
    passed=$((passed + 1))
    echo "ok: $description"
  else
    failed=$((failed + 1))
    echo "FAILED: $description"
  fi
}

work=$(mktemp -d)
remove() {
  dpkg -r orvane >/dev/null 2>&1 || true
  rm -rf "$work"
}
trap remove EXIT
dpkg -i "$package" >/dev/null

nobody=65534
chown "$nobody:$nobody" "$work"
chmod 700 "$work"
as_nobody() {
  (cd "$work" && setpriv --reuid="$nobody" --regid="$nobody" --clear-groups \
    env -i PATH=/usr/bin:/bin HOME="$work" LANG=C.UTF-8 TZ=UTC "$@")
}

samples=/usr/share/orvane/samples
entries=$(python3 -c 'import json, sys; print(len(json.load(open(sys.argv[1]))["entries"]))' \
  "$samples/address-book.json")

exported() {
  as_nobody orvane export address-book cards --address-book "$samples/address-book.json" \
    --log export.log >"$work/summary" &&
    [[ $(cat "$work/summary") == "$entries items written to $work/cards"* ]] &&
    [[ $(find "$work/cards" -name 'ExpressvCard*.vcf' -user "$nobody" | wc -l) -eq $entries ]] &&
    [[ -s $work/export.log ]] && [[ ! -e /usr/bin/tmp ]]
}
check "an unprivileged user exports the installed sample address book" exported
listed() {
  [[ $(as_nobody orvane list 3 --address-book "$samples/address-book.json" | wc -l) -eq $entries ]]
}
check "the installed program lists the sample's $entries entries" listed
# Making and removing a working folder in /usr/bin would change the folder's time.
root_leaves_program_folder_alone() {
  local before
  before=$(stat -c %y /usr/bin)
  (cd "$work" && orvane export address-book root-cards \
    --address-book "$samples/address-book.json" >/dev/null) &&
    [[ $(stat -c %y /usr/bin) == "$before" ]] && [[ ! -e /usr/bin/tmp ]]
}
check "an export by root writes nothing in the system's program folder" \
  root_leaves_program_folder_alone

page=/usr/share/man/man1/orvane.1.gz
rendered() {
  LC_ALL=C.UTF-8 MANROFFSEQ='' MANWIDTH=80 man --warnings -E UTF-8 -l -Tutf8 -Z "$page" \
    2>"$work/man-warnings" >/dev/null &&
    [[ ! -s $work/man-warnings ]] &&
    MANWIDTH=80 man -l "$page" 2>/dev/null | col -b >"$work/manual"
}
check "man -l renders the manual page without warnings" rendered
covers_everything() {
  local word missing=()
  for word in $(orvane --help | grep -o -- '--[a-z-]*[a-z]' | sort -u) count list item \
    export-item export ORVANE_ADDRESS_BOOK ORVANE_MAIL_STORE "$samples/address-book.json"; do
    grep -q -- "$word" "$work/manual" || missing+=("$word")
  done
  [[ ${#missing[@]} -eq 0 ]] || { echo "the manual page lacks: ${missing[*]}"; return 1; }
}
check "the manual page names every command, option, variable and the samples" covers_everything

completes() {
  local answer
  answer=$(bash -c 'source /usr/share/bash-completion/completions/orvane
    COMP_WORDS=(orvane export 3 --l); COMP_CWORD=3; _orvane; echo "${COMPREPLY[*]}"')
  [[ $answer == "--log --log-dir" ]]
}
check "the bash completion completes an option of export" completes

depends_covers_libraries() {
  local depends library owner
  depends=$(dpkg-deb -f "$package" Depends | sed 's/ ([^)]*)//g')
  for library in $(ldd /usr/bin/orvane | awk '/=>/ { print $3 }'); do
    owner=$(dpkg -S "$library" 2>/dev/null || dpkg -S "$(readlink -f "$library")") || return 1
    owner=${owner%%:*}
    [[ ", $depends," == *", $owner,"* ]] || { echo "Depends lacks $owner"; return 1; }
  done
}
check "the package depends on the package of every library the program loads" \
  depends_covers_libraries

removed() { dpkg -r orvane >/dev/null && [[ ! -e /usr/bin/orvane && ! -e $page ]]; }
check "the package is removed again" removed

echo "package: $passed passed, $failed failed"
[[ $failed -eq 0 ]]
