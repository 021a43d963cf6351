# Steps of bar_under_wine.sh on the keyboard, launch-or-switch and what a
# screen reader reads, with the installed copy in `app0`, its links folder in
# `links`, its settings in `user_ini`, the output folder in `out` and
# tovira-tool in `tool`. The bar starts on a button list of its own: Notepad
# with the hotkey Ctrl+Alt+N, WineMine, a folder menu on C:\windows and a
# button with a Japanese caption; the bar's own hotkey is Ctrl+Alt+T.
# - with the clock in the foreground, Ctrl+Alt+N starts Notepad;
# - a click on Notepad's button, Notepad in the background, brings that
#   window forward and starts no second one;
# - the bar's hotkey gives the bar the keyboard focus (its focus mark on the
#   first button: keys-focus-mark.png), Right and Enter start WineMine;
# - a Japanese caption's first characters, typed as a keyboard hands them
#   to a window (WM_CHAR per UTF-16 unit), move the focus to its button;
# - the bar's accessible object (OBJID_CLIENT) is a toolbar with a child per
#   button: its caption, push button or menu button, its hotkey.
# Runs with no bar open and leaves none open; the button list and the
# settings are put back as they were.

keys_tool="$build/win/tovira-tool.exe"

# keys_wait_count PROGRAM N SECONDS: true once N visible windows run PROGRAM.
# Each look starts the tool under Wine: the time is counted, not the looks.
keys_wait_count() {
  local until=$((SECONDS + $3))
  while :; do
    [ "$(wine "$keys_tool" windows count "$1" 2>/dev/null | tr -d '\r')" = "$2" ] && return 0
    [ $SECONDS -ge $until ] && return 1
    sleep 0.5
  done
}
keys_front() { wine "$keys_tool" windows front 2>/dev/null | tr -d '\r'; }
# keys_clock_in_front: the clock activated until it is the foreground window
# (a loaded machine may take a while).
keys_clock_in_front() {
  local i front
  for ((i = 0; i < 5; i++)); do
    keys_activate "$clock"
    front=$(keys_front)
    [[ "$front" == Clock* ]] && return 0
  done
  fail "keys: the clock does not come to the foreground ($front)"
}
# keys_activate WINDOW: raised, a click in its middle makes it the active
# window (Wine does not activate a window for a focus change of X alone).
keys_activate() {
  xdotool windowraise "$1" 2>/dev/null
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
  sleep 1
}
keys_steps() {
  local pid clock clock_pid front i tree program
  cp "$links/ButtonList.lob" "$out/keys-saved.lob" || fail "cannot keep the button list"
  cp "$user_ini" "$out/keys-saved.ini" || fail "cannot keep the settings"
  "$tool" table dump "$links/ButtonList.lob" >"$out/keys-before.json" || fail "cannot dump the button list"
  python3 - "$out/keys-before.json" "$out/keys.json" <<'PY' || fail "cannot write the keys' button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
def row(order, caption, path, **extra):
    values = {"Ordine": order, "Caption": caption, "Path": path, "Width": 92, "Height": 21,
              "Color": 0x8000000F, "LightColor": 0x80000014, "ShadowColor": 0x80000010,
              "HotTrackColor": 0x8000000F, "FontName": "Tahoma", "FontSize": 8, "FontColor": 0x80000008,
              "FontStyle": 0, "SelFontName": "Tahoma", "SelFontSize": 8, "SelFontColor": 0x80000008,
              "SelFontStyle": 0, "RealTime": False, "ShowText": True, "AutoSize": True, "WordWrap": False,
              "ButtonStyle": 0, "FolderMenu": False, "HotTrack": False, "TextAlignment": 2, "ImgLayout": 0,
              "SmallIcon": True, "Type": "Button", "ShowIcon": True, "Hotkey": None}
    values.update(extra)
    signed = lambda v: v - (1 << 32) if isinstance(v, int) and not isinstance(v, bool) and v >= 1 << 31 else v
    return [signed(values.get(n)) for n in names]
table["records"] = [
    row(0, "Blocco note", "C:\\windows\\notepad.exe", Hotkey="CA+N"),
    row(1, "Mine", "C:\\windows\\system32\\winemine.exe"),
    row(2, "Windows", "C:\\windows", FolderMenu=True),
    row(3, "日本語メモ", "C:\\windows\\win.ini"),
]
json.dump(table, open(sys.argv[2], "w"), ensure_ascii=False)
PY
  "$tool" table load "$out/keys.json" "$links/ButtonList.lob" || fail "cannot load the keys' button list"
  "$tool" ini set "$user_ini" Pulsanti BarHotkey CA+T || fail "cannot set the bar's hotkey"

  wine "$app0/tovira.exe" &
  pid=$!
  bar=$(wait_window "^Tovira$" 90) || fail "keys: the bar did not appear"
  sleep 3
  # Another program in the foreground: the clock.
  wine clock &
  clock_pid=$!
  clock=$(wait_window "^Clock" 60) || fail "keys: the clock did not appear"
  sleep 2
  keys_clock_in_front

  # A button's hotkey with the bar in the background.
  xdotool key ctrl+alt+n
  keys_wait_count notepad.exe 1 30 || fail "keys: Ctrl+Alt+N did not start Notepad"
  echo "keys: Ctrl+Alt+N with the clock in the foreground started Notepad"

  # Notepad behind the clock, then a click on its button: the same window
  # comes forward, no second one starts.
  sleep 2
  keys_clock_in_front
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + 40)) $((Y + HEIGHT / 2)) click 1
  for ((i = 0; i < 20; i++)); do
    front=$(keys_front)
    [[ "$front" == *Notepad* ]] && break
    sleep 0.5
  done
  [[ "$front" == *Notepad* ]] || fail "keys: a click on Notepad's button did not bring Notepad forward ($front)"
  sleep 3
  keys_wait_count notepad.exe 1 2 || fail "keys: a click on a running Notepad's button started another one"
  echo "keys: a second click on Notepad's button brought its one window forward"

  # The bar's hotkey: the focus mark on the first button; Right, Enter.
  keys_clock_in_front
  xdotool key ctrl+alt+t
  sleep 1.5
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  import -window root -crop "$((WIDTH < 640 ? WIDTH : 640))x$HEIGHT+$X+$Y" +repage "$out/keys-focus-mark.png"
  front=$(keys_front)
  [ "$front" = Tovira ] || fail "keys: the bar's hotkey did not bring the bar to the foreground ($front)"
  tree=$(wine "$keys_tool" windows accessible Tovira 2>&1 | tr -d '\r')
  echo "$tree" >"$out/keys-accessible.txt"
  echo "$tree" | grep -q '^focus=1$' || fail "keys: the bar's hotkey did not put the focus on the first button: $tree"
  # The bar is the system's foreground window; X's focus follows it as a
  # window manager would make it (there is none on this display).
  xdotool windowfocus --sync "$bar" 2>/dev/null
  xdotool key --window "$bar" Right
  sleep 0.5
  xdotool key --window "$bar" Return
  keys_wait_count winemine.exe 1 30 || fail "keys: the bar's hotkey, Right and Enter did not start WineMine"
  echo "keys: Ctrl+Alt+T, Right and Enter started the second button"

  # What a screen reader reads.
  echo "$tree"
  python3 - "$out/keys-accessible.txt" <<'PY' || fail "keys: the bar's accessible object is not what it shows"
import sys
lines = [l for l in open(sys.argv[1], encoding="utf-8").read().splitlines() if l]
head, children = lines[0], [l.split("\t") for l in lines[1:] if l[0].isdigit()]
assert head.startswith("role=0x16 name=Tovira children=4"), head
want = [("Blocco note", "0x2b", "Ctrl+Alt+N"), ("Mine", "0x2b", ""), ("Windows", "0x39", ""),
        ("日本語メモ", "0x2b", "")]
got = [(c[2][5:], c[1][5:], c[3][9:]) for c in children]
assert got == want, got
for c in children:
    x, y = (int(v) for v in c[4].split(" ")[0].split(","))
    w, h = (int(v) for v in c[4].split(" ")[1].split("x"))
    assert w > 10 and h > 10, c
PY

  # Japanese typed into the bar with the keyboard focus.
  keys_clock_in_front
  xdotool key ctrl+alt+t
  sleep 1.5
  wine "$keys_tool" windows chars Tovira "日本" || fail "keys: cannot type into the bar"
  sleep 1
  tree=$(wine "$keys_tool" windows accessible Tovira 2>&1 | tr -d '\r')
  echo "$tree" | grep -q '^focus=4$' || fail "keys: typing 日本 did not move the focus to 日本語メモ: $tree"
  echo "keys: 日本 typed into the bar moved the focus to its button"
  xdotool windowfocus --sync "$bar" 2>/dev/null
  xdotool key --window "$bar" Escape
  sleep 0.5

  # The programs' windows closed as their close boxes close them.
  for program in winemine.exe notepad.exe clock.exe; do
    wine "$keys_tool" windows close $program >/dev/null 2>&1
    keys_wait_count $program 0 20 || fail "keys: $program did not close"
  done
  wait_exit $clock_pid 20 || fail "keys: the clock did not end"
  close_bars
  wait_exit $pid 20 || fail "keys: the bar did not close"
  cp "$out/keys-saved.lob" "$links/ButtonList.lob"
  cp "$out/keys-saved.ini" "$user_ini"
}
