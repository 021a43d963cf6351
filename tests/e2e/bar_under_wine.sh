#!/usr/bin/env bash
# tovira.exe for real, under Wine on a headless X server: the first start asks
# its question and leaves the docking key behind; the next start shows the bar
# docked at the top, and Alt+F4 closes it and writes its record. Screenshots
# land in build/e2e/.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
wine_env
out="$build/e2e"
rm -rf "$out" && mkdir -p "$out"
export WINEPREFIX="$out/prefix"  # a prefix of its own: the registry starts empty
cp -r "$build/wineprefix" "$WINEPREFIX"
app="$out/app"
mkdir -p "$app"
cp "$build/win/tovira.exe" "$app/"
cp -r "$build/win/Config" "$build/win/Langs" "$app/" 2>/dev/null || true

fail() { echo "bar_under_wine: $*" >&2; exit 1; }

# One X server for the whole run.
disp=:$((70 + RANDOM % 20))
Xvfb "$disp" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null' EXIT
export DISPLAY=$disp
sleep 1

wait_window() {  # wait_window NAME SECONDS: answers the window id
  local i
  for ((i = 0; i < $2 * 4; i++)); do
    local id
    id=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}

reg_query() { wine reg query "$1" 2>/dev/null | tr -d '\r'; }

# First start: the question box, answered with Enter; the program closes.
wine "$app/tovira.exe" &
pid=$!
box=$(wait_window "Prima esecuzione" 60) || fail "the first-start box did not appear"
sleep 1
import -window root "$out/first-start.png"
xdotool windowactivate --sync "$box" key Return 2>/dev/null || xdotool key Return
for ((i = 0; i < 60; i++)); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
kill -0 $pid 2>/dev/null && fail "the first start did not end"
reg_query 'HKCU\Software\Brenvoll\ToviraRoot' | grep -q 'Brenvoll.Tovira_0' || fail "no instance slot 0"
reg_query 'HKCU\Software\Brenvoll\Tovira_0' | grep -q 'REG_BINARY' || fail "no docking record after the first start"

# Normal start: the bar docks at the top.
wine "$app/tovira.exe" &
pid=$!
bar=$(wait_window "^Tovira$" 60) || fail "the bar did not appear"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$bar")"
echo "bar at x=$X y=$Y width=$WIDTH height=$HEIGHT"
import -window root "$out/docked-top.png"
[ "$Y" -le 5 ] && [ "$WIDTH" -ge 1200 ] || fail "the bar is not docked at the top"
xdotool windowfocus --sync "$bar" 2>/dev/null; xdotool key --window "$bar" alt+F4; sleep 0.5; xdotool key alt+F4
for ((i = 0; i < 40; i++)); do kill -0 $pid 2>/dev/null || break; sleep 0.5; done
kill -0 $pid 2>/dev/null && fail "Alt+F4 did not close the bar"
record=$(reg_query 'HKCU\Software\Brenvoll\Tovira_0' | grep REG_BINARY | awk '{print $NF}')
echo "record: $record"
[ ${#record} -eq 176 ] || fail "the docking record is not 88 bytes"
[ "${record:8:2}" = "01" ] || fail "the record does not say top"
echo "bar_under_wine: ok"
