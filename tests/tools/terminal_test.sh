#!/usr/bin/env bash
# nibtool as a program on a POSIX terminal: the locale says whether text is converted, and long
# jobs show a progress line on a terminal only (script gives the job one for standard error).
# Usage: terminal_test.sh NIBTOOL
set -euo pipefail
export LC_ALL=C  # the patterns below compare bytes
nibtool=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
fail() { echo "terminal: $*" | cat -A; exit 1; }
in_utf8() { LC_ALL=C.UTF-8 "$nibtool" "$@"; }
on_terminal() { SHELL=/bin/bash script -qec "LC_ALL=C.UTF-8 $(printf '%q ' "$nibtool" "$@") >/dev/null" /dev/null </dev/null; }

# One switch for text in and out: UTF-8 typed is stored converted, and listed in another
# encoding as the bytes stored.
in_utf8 add notes.nib $'Z\xC3\xBCrich'
[[ $("$nibtool" list notes.nib) == *$'\tZ\xFCrich' ]] || fail "UTF-8 not converted, or bytes listed converted"

for _ in $(seq 3500); do printf 'a note of some length\r\n\r\n------------------------------\r\n\r\n'; done >notes.txt
shown=$(on_terminal import big.nib notes.txt)
for step in $'\rReading big.nib...' $'\rImporting... 0%' $'\rImporting... 5' $'\rWriting big.nib...'; do
  [[ $shown == *"$step"* ]] || fail "no \"$step\" in: $shown"
done
# Cleared at the end: nothing stays on the terminal.
[[ $shown == *$'   \r' && $shown != *$'\n'* ]] || fail "the progress line stays: $shown"
for job in import export; do
  [[ -z $(in_utf8 "$job" big.nib notes.txt 2>&1 >/dev/null) ]] || fail "$job shows progress off a terminal"
done
echo "terminal: passed"
