#!/usr/bin/env bash
# Measures the start-up time and the memory of the installed bar under Wine
# against a minimal window program of ours (benchmarks/minimal), started
# alternately on one virtual display, and prints the medians. Not a test:
# the figures depend on the machine and on what else runs on it.
#
#   scripts/measure_startup.sh            7 starts of each, 50 buttons
#   MEASURE_RUNS=11 MEASURE_BUTTONS=1 scripts/measure_startup.sh
#   MEASURE_BEFORE=old/tovira.exe scripts/measure_startup.sh
#                                         the bar of an earlier build too, in
#                                         the same run (a before and after
#                                         on equal terms)
#
# What it does:
# - builds the Windows build and the packages (scripts/package.sh), the two
#   yardsticks and the host's tovira-tool, where anything is out of date;
# - copies the build's Wine prefix into build/measure and installs the MSI
#   there silently; the first start is answered, then the button list gets
#   MEASURE_BUTTONS buttons pointing at the programs and files of Windows;
# - keeps the Wine server of the prefix running throughout, so that no start
#   pays for bringing up Wine's own services, and starts each program once
#   unmeasured (files read into the system's cache);
# - then starts the bar and the minimal program in turn, MEASURE_RUNS times
#   each. For each start:
#   time to a painted window: from the launch to the first moment from which
#     the window, mapped, shows what it shows once settled
#     (scripts/watch_window.py starts the program and reads the window's
#     pixels every few milliseconds from its mapping on; settled means
#     unchanged in pixels, size and place for MEASURE_QUIET_MS, 2000 by
#     default). A window that is mapped but not painted yet, half painted,
#     still being moved to its edge or still without its buttons does not
#     count: the bar is painted when its buttons are.
#   working set once settled: what GetProcessMemoryInfo says for the process
#     of the window (window_probe.exe, run under Wine). Wine answers it with
#     the resident set of the Linux process: the program and the Windows DLLs
#     it loaded, the parts of Wine's own libraries it touched, its heaps and
#     stacks, and the pages it shares with other processes, as a working set
#     on Windows counts the shared pages too.
#   Each program is then closed with WM_CLOSE, as Alt+F4 does, and the next
#   start waits for its end.
# - prints both programs' medians, the ratio of the times and the difference
#   of the working sets, then the Windows DLLs the bar maps and the minimal
#   program does not, with their resident size in the bar's last start.
# Captures, memory maps and the figures of every start stay in build/measure.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
runs=${MEASURE_RUNS:-7}
buttons=${MEASURE_BUTTONS:-50}
quiet=${MEASURE_QUIET_MS:-2000}
out="$build/measure"

fail() {
  echo "measure_startup: $*" >&2
  exit 1
}

# The programs, where anything is out of date: ninja does nothing when all is.
"$top/scripts/package.sh" >/dev/null || fail "the Windows build or the packages failed"
cmake --build "$build/win" -j "$jobs" --target tovira_minimal window_probe >/dev/null || fail "cannot build the yardsticks"
if [ ! -f "$build/host/build.ninja" ]; then
  cmake -S "$top" -B "$build/host" -G Ninja -DTOVIRA_WERROR=ON >/dev/null || fail "cannot configure the host build"
fi
cmake --build "$build/host" -j "$jobs" --target tovira-tool >/dev/null || fail "cannot build the host's tovira-tool"
tool="$build/host/tovira-tool"
probe="$build/win/minimal/window_probe.exe"
msi="${TOVIRA_DIST:-$top/dist}/Tovira-$(cat "$build/win/VERSION").msi"
[ -f "$msi" ] || fail "no $msi"

# A prefix of our own, copied from the build's.
wine_env
rm -rf "$out" && mkdir -p "$out/shots"
export WINEPREFIX="$out/prefix"
cp -a "$build/wineprefix" "$WINEPREFIX"

Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" >/dev/null 2>&1 &
xvfb=$!
trap 'wineserver -k 2>/dev/null; kill $xvfb 2>/dev/null' EXIT
for ((i = 0; i < 40; i++)); do [ -s "$out/display" ] && break; sleep 0.25; done
[ -s "$out/display" ] || fail "no X server"
export DISPLAY=":$(head -1 "$out/display")"
wineserver -p  # until the end of the script: the trap ends it

wine msiexec /i "$(winepath -w "$msi")" /qn >/dev/null 2>&1 || fail "the MSI did not install"
bar_exe=$(find "$WINEPREFIX/drive_c/users" -path '*/AppData/Local/Programs/Tovira/tovira.exe' | head -1)
[ -n "$bar_exe" ] || fail "the MSI left no Programs\\Tovira\\tovira.exe"
minimal_exe="$WINEPREFIX/drive_c/Minimal/tovira_minimal.exe"  # on the same disk as the bar
mkdir -p "$(dirname "$minimal_exe")" && cp "$build/win/minimal/tovira_minimal.exe" "$minimal_exe"
# An earlier build's bar in a copy of the installed folder (its languages and
# files beside it), sharing the user's data folder with the installed one.
before_exe=""
if [ -n "${MEASURE_BEFORE:-}" ]; then
  [ -f "$MEASURE_BEFORE" ] || fail "no $MEASURE_BEFORE"
  before_dir="$(dirname "$(dirname "$bar_exe")")/ToviraBefore"
  cp -a "$(dirname "$bar_exe")" "$before_dir" && cp "$MEASURE_BEFORE" "$before_dir/tovira.exe" ||
    fail "cannot copy $MEASURE_BEFORE"
  before_exe="$before_dir/tovira.exe"
fi

wait_window() {  # wait_window TITLE SECONDS: prints the id of the visible window
  local i id
  for ((i = 0; i < $2 * 10; i++)); do
    id=$(xdotool search --onlyvisible --name "^$1\$" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.1
  done
  return 1
}
wait_exit() {  # wait_exit PID SECONDS
  local i
  for ((i = 0; i < $2 * 10; i++)); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.1; done
  return 1
}

# The first start tells where the buttons' folder is; it leaves the button list.
wine "$bar_exe" >/dev/null 2>&1 &
pid=$!
# The box speaks the language of the first start (English under this prefix).
box=$(wait_window "(Prima esecuzione|First start)" 90) || fail "the first-start box did not appear"
sleep 1
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key --window "$box" Return
# It ends, or (as the installed bar does) goes on to the bar: closed as Alt+F4 does.
wait_exit $pid 5 || { wine "$probe" Tovira close >/dev/null 2>&1; wait_exit $pid 30; } ||
  fail "the first start did not end"
list=$(find "$WINEPREFIX/drive_c/users" -path '*tovira/ToolbarLinks/ButtonList.lob' | head -1)
[ -n "$list" ] || fail "the first start left no ButtonList.lob"
"$tool" table dump "$list" >"$out/empty.json" || fail "cannot dump the button list"
python3 - "$out/empty.json" "$out/buttons.json" "$buttons" <<'PY' || fail "cannot write the button list"
import json, sys
table = json.load(open(sys.argv[1]))
count = int(sys.argv[3])
names = [f["name"] for f in table["fields"]]
# Programs, a folder and a document: each button asks the shell for its icon.
targets = ["C:\\windows\\notepad.exe", "C:\\windows\\regedit.exe", "C:\\windows\\explorer.exe",
           "C:\\windows\\hh.exe", "C:\\windows\\system32", "C:\\windows\\win.ini"] + [
    "C:\\windows\\system32\\%s.exe" % n for n in
    ("winemine", "winefile", "taskmgr", "write", "winecfg", "clock", "control", "iexplore", "oleview",
     "winhlp32", "cmd", "view", "msinfo32", "dxdiag", "progman", "winver", "uninstaller")]
def row(order):
    values = {"Ordine": order, "Caption": "B%02d" % order, "Path": targets[order % len(targets)],
              "Width": 92, "Height": 21, "Color": 0x8000000F, "LightColor": 0x80000014,
              "ShadowColor": 0x80000010, "HotTrackColor": 0x8000000F, "FontName": "Tahoma", "FontSize": 8,
              "FontColor": 0x80000008, "FontStyle": 0, "SelFontName": "Tahoma", "SelFontSize": 8,
              "SelFontColor": 0x80000008, "SelFontStyle": 0, "RealTime": False, "ShowText": True,
              "AutoSize": True, "WordWrap": False, "ButtonStyle": 0, "FolderMenu": False, "HotTrack": False,
              "TextAlignment": 2, "ImgLayout": 0, "SmallIcon": True, "Type": "Button", "ShowIcon": True,
              "Hotkey": None}
    # Integer columns are signed 32-bit: system colours are negative there.
    signed = lambda v: v - (1 << 32) if isinstance(v, int) and not isinstance(v, bool) and v >= 1 << 31 else v
    return [signed(values.get(n)) for n in names]
table["records"] = [row(i) for i in range(count)]
json.dump(table, open(sys.argv[2], "w"))
PY
"$tool" table load "$out/buttons.json" "$list" || fail "cannot load the button list"

# measure LABEL EXE TITLE RUN: one start, its figures appended to results.txt
# as "LABEL RUN painted_ms working_set_bytes mapped_ms placed_ms".
measure() {
  local label=$1 exe=$2 title=$3 run=$4 seen pid painted placed mapped counters ws
  seen=$(python3 "$top/scripts/watch_window.py" "$title" "$quiet" "$out/shots/$label-$run" wine "$exe") ||
    fail "$label: $seen"
  pid=$(sed -n 's/.*pid=\([0-9]*\).*/\1/p' <<<"$seen")
  mapped=$(sed -n 's/.*mapped_ms=\([0-9]*\).*/\1/p' <<<"$seen")
  painted=$(sed -n 's/.*painted_ms=\([0-9]*\).*/\1/p' <<<"$seen")
  placed=$(sed -n 's/.*placed_ms=\([0-9]*\).*/\1/p' <<<"$seen")
  counters=$(wine "$probe" "$title" 2>/dev/null | tr -d '\r')
  ws=$(sed -n 's/.*working_set=\([0-9]*\).*/\1/p' <<<"$counters")
  [ -n "$ws" ] || fail "$label: no memory counters for \"$title\""
  cp "/proc/$pid/smaps" "$out/smaps-$label.txt" 2>/dev/null
  wine "$probe" "$title" close >/dev/null 2>&1
  wait_exit "$pid" 20 || { kill "$pid" 2>/dev/null; wait_exit "$pid" 10; } || fail "$label did not end"
  sleep 0.5
  echo "$label $run $painted $ws $mapped $placed" >>"$out/results.txt"
  printf '  %-8s start %d: painted after %5d ms (mapped after %5d, in place after %5d ms), working set %6.1f MB\n' \
    "$label" "$run" "$painted" "$mapped" "$placed" "$(awk -v b="$ws" 'BEGIN { print b / 1048576 }')"
}

echo "measure_startup: $buttons buttons, $runs starts of each program, alternately"
measure tovira "$bar_exe" Tovira 0 >/dev/null
measure minimal "$minimal_exe" Minimal 0 >/dev/null
[ -n "$before_exe" ] && measure before "$before_exe" Tovira 0 >/dev/null
: >"$out/results.txt"
for ((run = 1; run <= runs; run++)); do
  [ -n "$before_exe" ] && measure before "$before_exe" Tovira "$run"
  measure tovira "$bar_exe" Tovira "$run"
  measure minimal "$minimal_exe" Minimal "$run"
done

python3 - "$out/results.txt" "$out/smaps-tovira.txt" "$out/smaps-minimal.txt" <<'PY'
import re, statistics, sys
rows = [line.split() for line in open(sys.argv[1])]
def figures(label):
    return ([int(r[2]) for r in rows if r[0] == label], [int(r[3]) for r in rows if r[0] == label])
bar_ms, bar_ws = figures("tovira")
min_ms, min_ws = figures("minimal")
mb = lambda b: b / 1048576
print()
print("                  painted (ms)   working set (MB)   (medians)")
print("  tovira.exe      %12d   %16.1f" % (statistics.median(bar_ms), mb(statistics.median(bar_ws))))
print("  minimal         %12d   %16.1f" % (statistics.median(min_ms), mb(statistics.median(min_ws))))
print("  time ratio (tovira / minimal):   %.2f" % (statistics.median(bar_ms) / statistics.median(min_ms)))
print("  working set difference:          %.1f MB" % mb(statistics.median(bar_ws) - statistics.median(min_ws)))
placed = [int(r[5]) for r in rows if r[0] == "tovira" and len(r) > 5]
if placed:
    # Laid out and drawn, its icons perhaps not yet (placeholders): the
    # moment the bar took its final place and size.
    print("  tovira.exe in place (buttons drawn, icons perhaps to come): %d ms, %.2f x minimal" %
          (statistics.median(placed), statistics.median(placed) / statistics.median(min_ms)))
old_ms, old_ws = figures("before")
if old_ms:
    print("  the earlier build (MEASURE_BEFORE), in the same run:")
    print("  before          %12d   %16.1f" % (statistics.median(old_ms), mb(statistics.median(old_ws))))
    print("  time ratio (before / minimal):   %.2f" % (statistics.median(old_ms) / statistics.median(min_ms)))
    print("  working set difference:          %.1f MB" % mb(statistics.median(old_ws) - statistics.median(min_ws)))
    old_placed = [int(r[5]) for r in rows if r[0] == "before" and len(r) > 5]
    if old_placed:
        print("  before in place: %d ms, %.2f x minimal" %
              (statistics.median(old_placed), statistics.median(old_placed) / statistics.median(min_ms)))

def resident(path):
    """Resident kB per mapped file (anonymous memory under one name)."""
    sizes, name = {}, None
    for line in open(path):
        head = re.match(r"^[0-9a-f]+-[0-9a-f]+ \S+ \S+ \S+ \S+\s*(.*)$", line)
        if head:
            name = head.group(1).strip() or "[anonymous]"
        elif line.startswith("Rss:"):
            sizes[name] = sizes.get(name, 0) + int(line.split()[1])
    return sizes
try:
    bar, minimal = resident(sys.argv[2]), resident(sys.argv[3])
except OSError:
    sys.exit(0)
dll = lambda n: n.lower().endswith((".dll", ".drv", ".so"))
extra = sorted(((kb, n) for n, kb in bar.items() if dll(n) and n not in minimal), reverse=True)
print("  libraries the bar maps and the minimal program does not (resident kB, last start):")
for kb, n in extra:
    print("    %6d  %s" % (kb, n.rsplit("/", 1)[-1]))
print("    %6d  in all" % sum(kb for kb, _ in extra))
for n in ("[anonymous]", "[heap]"):
    print("  %-12s bar %6d kB, minimal %6d kB" % (n, bar.get(n, 0), minimal.get(n, 0)))
PY
