#!/usr/bin/env bash
# The release ZIP works from a fresh folder: it unpacks, nibtool.exe makes a pad there, and
# scrivel.exe started from there opens that default pad (a second start with /q then quits it,
# and the pad is in the reopen list it leaves behind). Runs under Wine on the display that the
# test run started; the program's settings key is put back as it was.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
source "$root/tools/wine-env"
work=$(mktemp -d)
restore() {
  restore_settings "$work/settings.reg"
  rm -rf "$work"
}
trap restore EXIT
save_settings "$work/settings.reg"

SCRIVEL_BUILD=${1:-$root/build/windows} "$root/tools/package" "$work/scrivel.zip" >/dev/null
mkdir "$work/fresh"
unzip -q "$work/scrivel.zip" -d "$work/fresh"
folder=$work/fresh/Scrivel
for file in scrivel.exe nibtool.exe README.txt help/index.html; do
  [ -f "$folder/$file" ] || { echo "missing in the ZIP: $file"; exit 1; }
done

timeout 120 wine "$folder/nibtool.exe" add "$folder/Default Pad.nib" "from the release test" >/dev/null
# No first-start question: that is the installation tests' business.
timeout 60 wine reg add "$settings_key" /v "Change Registry" /t REG_DWORD /d 0 /f >/dev/null
timeout -k 5 120 wine "$folder/scrivel.exe" &
first=$!
# The second start hands /q to the first once its window is there; before that it would start
# a working copy of its own, so it is retried until the first copy has ended.
for _ in $(seq 60); do
  sleep 1
  timeout 60 wine "$folder/scrivel.exe" /q || true
  kill -0 "$first" 2>/dev/null || break
done
if kill -0 "$first" 2>/dev/null; then echo "scrivel.exe did not quit"; kill "$first"; exit 1; fi
wait "$first" || { echo "scrivel.exe failed"; exit 1; }

reopen=$(timeout 60 wine reg query "$settings_key" /v "Restart Command" | tr -d '\r' | sed -n 's/.*REG_SZ *//p')
echo "reopen list: $reopen"
case "$reopen" in
  *'"'*.NIB'" '* | *'"'*.nib'" '*) echo "release package: passed" ;;
  *) echo "the default pad was not open"; exit 1 ;;
esac
