#!/usr/bin/env bash
# nibtool as a program on a POSIX terminal: the locale says whether text is converted, and long
# jobs show a progress line (script gives the job a terminal for standard error).
# Usage: terminal_test.sh NIBTOOL
set -euo pipefail
export LC_ALL=C  # the patterns below compare bytes
nibtool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "terminal: $*" | cat -A; exit 1; }
on_terminal() { SHELL=/bin/bash script -qec "LC_ALL=C.UTF-8 $(printf '%q ' "$nibtool" "$@") >/dev/null" /dev/null </dev/null; }

# One switch for text in and out: UTF-8 typed is stored converted, and listed in another
# encoding as the bytes stored.
LC_ALL=C.UTF-8 "$nibtool" add notes.nib $'Z\xC3\xBCrich'
[[ $("$nibtool" list notes.nib) == *$'\tZ\xFCrich' ]] || fail "UTF-8 not converted, or bytes listed converted"

for _ in $(seq 3500); do printf 'a note of some length\r\n\r\n------------------------------\r\n\r\n'; done >notes.txt
shown=$(on_terminal import big.nib notes.txt)
for step in $'\rReading big.nib...' $'\rImporting... 0%' $'\rImporting... 5' $'\rWriting big.nib...'; do
  [[ $shown == *"$step"* ]] || fail "no \"$step\" in: $shown"
done
echo "terminal: passed"
