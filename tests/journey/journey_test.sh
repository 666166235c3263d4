#!/usr/bin/env bash
# A user's journey from the release ZIP, unpacked into a fresh folder, with real keys and a real
# click on the X display: the default pad beside the program, made there by nibtool.exe, gets a
# nib; a new pad gets three nibs, is searched and paged, saved with Ctrl+S through the Save As
# dialog and closed with Ctrl+W; a second start opens the saved pad, a nib is added and the pad
# closed; nibtool.exe then lists what the files hold. Last, typing in that pad and a new one
# survives a hard kill. Runs under Wine on the caller's display and prefix (tools/journey, or the
# test run); every wait has a limit, and the program's settings key is put back as it was.
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build=${1:-$root/build/windows}
source "$root/tools/wine-env"
[ -n "${DISPLAY:-}" ] || { echo "journey: no display"; exit 1; }
work=$(mktemp -d)
scrivel=
finish() {
  if [ -n "$scrivel" ] && kill -0 "$scrivel" 2>/dev/null; then kill "$scrivel"; wait "$scrivel" 2>/dev/null || true; fi
  restore_settings "$work/settings.reg"
  rm -rf "$work"
}
trap finish EXIT
save_settings "$work/settings.reg"
# A first start without a reopen list, and without the Setup question.
timeout 60 wine reg delete "$settings_key" /f >/dev/null 2>&1 || true
quiet_setup

fail() { echo "journey: $*"; exit 1; }
# window_rect waits for a shown window of the class and prints its rectangle.
rect_of() { timeout 40 wine "$build/tests/harness/window_rect.exe" "$1" 30000 | tr -d '\r'; }
keys() { xdotool key --delay 100 "$@"; sleep 0.5; }
typed() { xdotool type --delay 60 "$1"; sleep 0.3; }
new_nib() { keys ctrl+n; typed "$1"; }
start() {
  timeout -k 5 120 wine "$folder/scrivel.exe" "$@" &
  scrivel=$!
  rect_of Scrivel >/dev/null || fail "no pad window came up"
}
ended() {
  for _ in $(seq 40); do kill -0 "$scrivel" 2>/dev/null || break; sleep 0.5; done
  kill -0 "$scrivel" 2>/dev/null && fail "scrivel.exe did not end after its last Ctrl+W"
  wait "$scrivel" || fail "scrivel.exe failed"
  scrivel=
}

SCRIVEL_BUILD=$build "$root/tools/package" "$work/scrivel.zip" >/dev/null
unzip -q "$work/scrivel.zip" -d "$work/fresh"
folder=$work/fresh/Scrivel
for file in scrivel.exe nibtool.exe README.txt help/index.html; do
  [ -f "$folder/$file" ] || fail "missing in the ZIP: $file"
done
nibtool() { timeout 60 wine "$folder/nibtool.exe" "$@" | tr -d '\r'; }
default_pad=$(winepath -w "$folder/Default Pad.nib")
nibtool add "$default_pad" "from the package"
pad="$work/Journey.nib"
start
# The pointer over the Wine desktop, which then has the keyboard.
xdotool mousemove 1000 700
new_nib "elderberry"
keys ctrl+shift+n
sleep 1
keys ctrl+t
typed "apple pie recipe"
new_nib "banana bread"
new_nib "cherry jam"
# Finding "an" leaves the banana nib; a click into the text field and End reach its end.
keys ctrl+f
typed "an"
read -r left top width height < <(rect_of Scrivel) || fail "no pad window"
xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
sleep 0.3
keys ctrl+End
typed " with walnuts"
# The find field emptied, paging from banana: next to cherry, where the keys stop as the menu's
# grayed Next does, then twice back to apple.
keys ctrl+f BackSpace
for page in ctrl+Right ctrl+Right ctrl+Left ctrl+Left; do keys "$page"; done
keys ctrl+t ctrl+End
typed " tested"
keys ctrl+s
rect_of '#32770' >/dev/null || fail "no Save As dialog"
typed "$(winepath -w "$pad")"
keys Return
for _ in $(seq 40); do [ -f "$pad" ] && break; sleep 0.5; done
[ -f "$pad" ] || fail "Ctrl+S saved nothing"
# Both windows closed: the saved pad, then the default pad, which Autosave saves.
keys ctrl+w
sleep 1
keys ctrl+w
ended

start "$(winepath -w "$pad")"
xdotool mousemove 1000 700
new_nib "date plums"
# Closing saves by itself: the pad has a file, and Autosave is on.
keys ctrl+w
ended

# Each pad holds the nibs typed into it, and no others.
holds() {
  local listing
  listing=$(nibtool list "$1")
  echo "$listing"
  shift
  for nib in "$@"; do grep -q -- "$nib\$" <<<"$listing" || fail "the pad lacks \"$nib\""; done
  [ "$(grep -c . <<<"$listing")" -eq $# ] || fail "the pad holds other nibs than those typed"
}
holds "$(winepath -w "$pad")" "apple pie recipe tested" "banana bread with walnuts" "cherry jam" "date plums"
holds "$default_pad" "from the package" "elderberry"

# Typing survives a hard end: a nib typed into the saved pad and a new pad, the process killed once
# their recovery is written, a restart; Quit then saves the one and asks for the other's name.
start "$(winepath -w "$pad")"
xdotool mousemove 1000 700
keys ctrl+n
typed "elderberry wine"
keys ctrl+shift+n
sleep 1
keys ctrl+t
typed "fig jam"
recovery=$(winepath -u "$(timeout 60 wine cmd /c echo %LOCALAPPDATA% | tr -d '\r')")/Scrivel/Recovery
recovered() { [ "$(find "$recovery" -name '*.nib' | wc -l)" -eq 2 ]; }
for _ in $(seq 40); do recovered && break; sleep 0.5; done
recovered || fail "no recovery files in $recovery"
timeout 60 wine taskkill /f /im scrivel.exe >/dev/null
wait "$scrivel" || true
start "$(winepath -w "$pad")"
rect_of '#32770' >/dev/null || fail "no word of the recovery"
keys Return
read -r left top width height < <(rect_of Scrivel) || fail "no pad window"
xdotool mousemove $((left + width / 2)) $((top + height / 2)) click 1
keys ctrl+q
rect_of '#32770' >/dev/null || fail "the recovered new pad is not changed"
keys y
sleep 1
typed "$(winepath -w "$work/New.nib")"
keys Return
ended
for check in "$pad:elderberry wine" "$work/New.nib:fig jam"; do
  nibtool list "$(winepath -w "${check%%:*}")" | grep -q -- "${check#*:}" ||
    fail "\"${check#*:}\" did not come back"
done
echo "journey: passed"
