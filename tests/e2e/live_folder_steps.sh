# Steps of bar_under_wine.sh on the live source folder, dragging buttons,
# cascading folder menus and the shell's context menu, with a running bar in
# `bar` (process `pid`), its links folder in `links`, the installed copy in
# `app0`, the output folder in `out` and tovira-tool in `tool`. The bar is
# started again on a button list of its own: three shortcuts of the folder
# and a folder-menu button on C:\windows. It is left running, in `bar`,
# `pid` and `bar_started`, for the steps that follow.

now_ms() { echo $(($(date +%s%N) / 1000000)); }
# wait_captions WANT SECONDS: true once the button list's captions are WANT.
wait_captions() {
  local until=$((SECONDS + $2))
  while :; do
    [ "$(column "$links/ButtonList.lob" Caption)" = "$1" ] && return 0
    ((SECONDS < until)) || return 1
    sleep 0.1
  done
}
# shot_until_changed BASE SHOT SECONDS: takes SHOT of the screen until more
# than 2000 pixels differ from BASE (a menu shown, or gone); prints how many.
shot_until_changed() {
  local until=$((SECONDS + $3)) changed
  while :; do
    import -window root "$2"
    changed=$(compare -metric AE "$1" "$2" /dev/null 2>&1)
    changed=${changed%%[!0-9]*}
    [ "${changed:-0}" -gt 2000 ] && { echo "$changed"; return 0; }
    ((SECONDS < until)) || { echo "${changed:-0}"; return 1; }
    sleep 0.3
  done
}
# wait_buttons_drawn SECONDS: true once the bar shows its buttons' icons (a
# bar without them has a handful of colours); the folder is watched by then.
wait_buttons_drawn() {
  local until=$((SECONDS + $1))
  while :; do
    [ "$(import -window "$bar" -format %k info: 2>/dev/null)" -gt 12 ] 2>/dev/null && return 0
    ((SECONDS < until)) || return 1
    sleep 0.5
  done
}

live_bar_start() {
  close_bars
  wait_exit $pid 20 || fail "the bar did not close before the live folder's steps"
  rm -f "$links"/*.lnk "$links"/*.txt
  for f in Alfa Beta Gamma; do
    "$tool" lnk write 'C:\windows\notepad.exe' "$links/$f.lnk" || fail "cannot write $f.lnk"
  done
  "$tool" table dump "$links/ButtonList.lob" >"$out/live-before.json" || fail "cannot dump the button list"
  python3 - "$out/live-before.json" "$out/live.json" "$(winepath -w "$links" 2>/dev/null | tr -d '\r')" <<'PY' ||
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
# The looks of a plain button, whatever the list held before.
defaults = {"Color": 0x8000000F, "LightColor": 0x80000014, "ShadowColor": 0x80000010,
            "HotTrackColor": 0x8000000F, "FontName": "Tahoma", "FontSize": 8, "FontColor": 0x80000008,
            "FontStyle": 0, "SelFontName": "Tahoma", "SelFontSize": 8, "SelFontColor": 0x80000008,
            "SelFontStyle": 0, "WordWrap": False, "ButtonStyle": 0, "HotTrack": False, "TextAlignment": 2,
            "ImgLayout": 0, "SmallIcon": True, "Type": "Button", "ShowIcon": True, "Hotkey": None}
# Integer columns are signed 32-bit: system colours are negative there.
signed = lambda v: v - (1 << 32) if isinstance(v, int) and not isinstance(v, bool) and v >= 1 << 31 else v
def row(order, caption, path, **extra):
    values = dict(defaults)
    values.update({"Ordine": order, "Caption": caption, "Path": path, "AutoSize": False, "Width": 60,
                   "Height": 21, "ShowText": True, "FolderMenu": False, "RealTime": False})
    values.update(extra)
    return [signed(values.get(n)) for n in names]
folder = sys.argv[3].rstrip("\\")
table["records"] = [row(i, c, folder + "\\" + c + ".lnk") for i, c in enumerate(["Alfa", "Beta", "Gamma"])]
table["records"].append(row(3, "Windows", "C:\\windows", FolderMenu=True))
json.dump(table, open(sys.argv[2], "w"))
PY
    fail "cannot write the live folder's button list"
  "$tool" table load "$out/live.json" "$links/ButtonList.lob" || fail "cannot load the live folder's button list"
  # Docked at the top, wherever the steps before left the bar.
  local rec
  rec=$(record 0)
  [ ${#rec} -eq 176 ] && wine reg add 'HKCU\Software\Brenvoll\Tovira_0' /ve /t REG_BINARY /d "${rec:0:8}01${rec:10}" /f >/dev/null 2>&1
  wine "$app0/tovira.exe" &
  pid=$! bar_started=$SECONDS
  bar=$(wait_window "^Tovira$" 90) || fail "the bar did not start for the live folder's steps"
  wait_buttons_drawn 60 || fail "the bar did not show its buttons for the live folder's steps"
  sleep 1
}

# A shortcut copied into the folder becomes the last button within 2 s, with
# no menu action; one deleted goes; the others keep their order.
live_folder_follows() {
  local start took
  cp "$links/Alfa.lnk" "$out/Delta.lnk"
  start=$(now_ms)
  mv "$out/Delta.lnk" "$links/Delta.lnk"
  wait_captions "Alfa Beta Gamma Windows Delta" 10 ||
    fail "a shortcut copied into the folder is no button: $(column "$links/ButtonList.lob" Caption)"
  # When the bar wrote the list, not when this loop (a tool and python per
  # look, slow on a loaded machine) saw it.
  took=$(($(stat -c %.3Y "$links/ButtonList.lob" | tr -d .) - start))
  [ $took -le 2000 ] || fail "the copied shortcut became a button after $took ms"
  import -window root "$out/live-added.png"
  rm "$links/Beta.lnk"
  wait_captions "Alfa Gamma Windows Delta" 10 ||
    fail "a shortcut deleted from the folder is still a button: $(column "$links/ButtonList.lob" Caption)"
  echo "live folder: Delta.lnk a button after $took ms, Beta.lnk gone ($(column "$links/ButtonList.lob" Caption))"
}

# drag_from_to FROM TO Y SHOT DX...: the left button pressed at (FROM, Y),
# the mouse moved left by each DX in turn and then to (TO, Y) with the button
# held, SHOT taken of the screen there, and the button let go.
drag_from_to() {
  local from=$1 to=$2 y=$3 shot=$4 dx
  shift 4
  xdotool mousemove "$from" "$y"
  sleep 0.3
  xdotool mousedown 1
  sleep 0.3
  for dx in "$@"; do
    xdotool mousemove $((from - dx)) "$y"
    sleep 0.2
  done
  xdotool mousemove "$to" "$y"
  sleep 1
  import -window root "$shot"
  xdotool mouseup 1
}

# The third button dragged to the first place, with the mouse held.
drag_third_first() {
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  # Buttons 60 wide, 62 apart, after the frame and the grip (if shown).
  local y=$((Y + HEIGHT / 2)) from=$((X + 3 + 2 * 62 + 34)) to=$((X + 10))
  drag_from_to "$from" "$to" "$y" "$out/drag-mark.png" 10 40 80 120 140
  wait_captions "Windows Alfa Gamma Delta" 10 ||
    fail "the drag did not move the third button first: $(column "$links/ButtonList.lob" Caption)"
  import -window root "$out/dragged.png"
  echo "drag: the third button dropped on the first place ($(column "$links/ButtonList.lob" Caption))"
}

# The folder button on C:\windows (now the first): its menu cascades into
# system32, whose entries open in a sub-menu of their own.
folder_submenu() {
  local index
  # The menu lists C:\windows as the system's own listing does (all
  # attributes, in the file system's order): system32's line is its place.
  index=$(wine cmd /c dir /b /a 'C:\windows' 2>/dev/null | tr -d '\r' | grep -n -i -x system32 | cut -d: -f1)
  [ -n "$index" ] || fail "no system32 in C:\\windows"
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + 20)) $((Y + HEIGHT / 2))
  sleep 0.5
  import -window root "$out/folder-closed.png"
  xdotool click 1
  shot_until_changed "$out/folder-closed.png" "$out/folder-menu-open.png" 20 >/dev/null ||
    fail "the folder button's menu did not open"
  sleep 0.5
  local keys=()
  for ((i = 0; i < index; i++)); do keys+=(Down); done
  xdotool key --delay 60 "${keys[@]}"
  sleep 0.5
  import -window root "$out/folder-menu.png"
  xdotool key Right
  local changed
  changed=$(shot_until_changed "$out/folder-menu.png" "$out/folder-submenu.png" 20) ||
    fail "no sub-menu opened for system32 ($changed pixels changed)"
  sleep 1
  import -window root "$out/folder-submenu.png"
  xdotool key Escape Escape Escape
  shot_until_changed "$out/folder-submenu.png" "$out/folder-menu-closed.png" 20 >/dev/null ||
    fail "Esc did not close the folder menus"
  sleep 0.5
  echo "folder menu: system32 opened as a sub-menu ($changed pixels changed; folder-submenu.png)"
}

# Shift with a right click on a button: the shell's own menu (look at
# shell-menu.png: its items, not the bar's).
shell_menu() {
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + 3 + 62 + 30)) $((Y + HEIGHT / 2))
  sleep 0.5
  import -window root "$out/shell-menu-closed.png"
  xdotool keydown shift click 3 keyup shift
  local changed
  changed=$(shot_until_changed "$out/shell-menu-closed.png" "$out/shell-menu.png" 20) ||
    fail "no menu on Shift with a right click ($changed pixels changed)"
  sleep 1
  import -window root "$out/shell-menu.png"
  xdotool key Escape
  shot_until_changed "$out/shell-menu.png" "$out/shell-menu-gone.png" 20 >/dev/null ||
    fail "Esc did not close the shell's menu"
  kill -0 $pid 2>/dev/null || fail "the bar ended with the shell's menu"
  echo "shell menu: shown on Shift with a right click ($changed pixels changed; shell-menu.png)"
}

# The second button (Alfa) dragged onto the folder button on C:\windows
# (the first): the drop menu (look at drop-menu.png: "Sposta qui", "Copia
# qui", "Annulla"), "Copia qui" chosen: the shortcut is copied there and the
# bar keeps its buttons.
drop_on_folder() {
  local copied="$WINEPREFIX/drive_c/windows/Alfa.lnk"
  rm -f "$copied"
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  local y=$((Y + HEIGHT / 2)) from=$((X + 3 + 62 + 30)) to=$((X + 3 + 30))
  xdotool mousemove $from $y
  sleep 0.3
  import -window root "$out/drop-before.png"
  drag_from_to "$from" "$to" "$y" "$out/drop-target.png" 10 30 50
  local changed
  changed=$(shot_until_changed "$out/drop-before.png" "$out/drop-menu.png" 20) ||
    fail "no menu when a button was dropped onto the folder button ($changed pixels changed)"
  sleep 1
  import -window root "$out/drop-menu.png"
  xdotool key --delay 100 Down Down Return
  local until=$((SECONDS + 10))
  until [ -f "$copied" ]; do
    ((SECONDS < until)) || fail "\"Copia qui\" did not copy Alfa.lnk into C:\\windows"
    sleep 0.2
  done
  cmp -s "$copied" "$links/Alfa.lnk" || fail "the copy in C:\\windows differs from Alfa.lnk"
  wait_captions "Windows Alfa Gamma Delta" 5 ||
    fail "a copy onto a folder button changed the bar: $(column "$links/ButtonList.lob" Caption)"
  rm -f "$copied"
  echo "drop on a folder: Alfa.lnk copied into C:\\windows through \"Copia qui\" (drop-menu.png)"
}

live_folder_steps() {
  live_bar_start
  live_folder_follows
  drag_third_first
  folder_submenu
  shell_menu
  drop_on_folder
}
