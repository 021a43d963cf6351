#!/usr/bin/env bash
# tovira.exe for real, as a user gets it, under Wine on a headless X server:
# - the MSI installs one copy; the portable package, unpacked into
#   "C:\Programmi prova\Caffè", is the other (scripts/package.sh makes both);
# - the two copies start for the first time, in the user interface's
#   language (English here): each says where its shortcuts live (answered
#   with a key press), shows the bar with its hint, claims its own instance
#   slot and leaves its docking key, the links folder and an empty button
#   list;
# - a button list with buttons of several styles and a separator is written
#   with tovira-tool; the next start shows it docked at the top; Alt+F4
#   closes the bar and writes its 88-byte record; with the record turned to
#   the left edge, the next start shows the bar docked at the left;
# - a folder-menu button pops up its folder's entries;
# - the same copy started twice leaves one bar, showing the program's icon;
#   the other copy runs beside it;
# - started on a folder without a button list, the bar moves its first
#   button with "Sposta dopo"; the side files of a list never become buttons;
# - a button list that cannot be written leaves the bar running with an
#   error box;
# - "Autore" on the bar's menu shows the about box;
# - "Impostazioni" shows the settings: a change confirmed reaches the file
#   and the bar, a change left with Esc leaves the file as it was;
# - "Layout pulsanti" restyles every button at once, saves a combination and
#   opens again where it was closed;
# - a theme saved before the restyling brings the buttons' looks back and is
#   deleted; a theme with a row that does not convert leaves the bar as it
#   was and is told; a button is renamed and another deleted with its file, all
#   from the bar's menus (bar_menus_steps.sh);
# - the shell restarts, the display changes, the session ends after docking
#   on the left from the menu: the bar stays registered and in place, docks
#   again, and starts on the left (desktop_steps.sh);
# - a crash of the bar is recorded, a new bar appears by itself and the
#   report window is offered; a bar that crashed within a minute of its
#   start is only told of (crash_steps.sh);
# - shortcuts named in Cyrillic, Japanese and Greek become buttons with those
#   captions; a Greek theme, a Cyrillic rename and a dropped file with a
#   Japanese name work as in Latin letters; a button list and a settings
#   file of an earlier release in Windows-1252 are read right and written
#   back in UTF-8 (scripts_steps.sh);
# - in a copy of the prefix at 144 DPI the bar and its buttons are 1.5 times
#   as large and the settings and layout dialogs open at that scale;
#   WM_DPICHANGED lays out a docked and a floating bar again (scale_steps.sh);
# - a button's hotkey starts its program with the bar in the background, the
#   bar's hotkey, Right and Enter start the second button, a click on a
#   running Notepad's button brings its one window forward, Japanese typed
#   into the bar finds its button, the bar's accessible object has a child
#   per button with its name, role and hotkey (keys_steps.sh);
# - a shortcut copied into the source folder becomes a button by itself and
#   one deleted goes; the third button dragged to the first place moves
#   there; a folder button on C:\windows cascades into system32; Shift with a
#   right click shows the shell's menu (live_folder_steps.sh).
# Screenshots land in build/e2e/.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine_desktop.sh"
source "$(dirname "${BASH_SOURCE[0]}")/bar_menus_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/crash_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/desktop_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/scripts_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/scale_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/keys_steps.sh"
source "$(dirname "${BASH_SOURCE[0]}")/live_folder_steps.sh"
name=bar_under_wine
wine_env
out="$build/e2e"
tool="$build/host/tovira-tool"
rm -rf "$out" && mkdir -p "$out"
export WINEPREFIX="$out/prefix"  # a prefix of its own: the registry starts empty
cp -r "$build/wineprefix" "$WINEPREFIX"

start_display
# Wine's first process of the prefix brings up its desktop: only now that
# the display is there. Whatever the Windows tests left in the registry goes.
wine reg delete 'HKCU\Software\Brenvoll' /f >/dev/null 2>&1

# The programs as a user gets them: app0 installed by the MSI, app1 unpacked
# from the portable package into a folder with a space and an accent.
msi=$(package_msi) zip=$(package_zip)
[ -n "$msi" ] && [ -n "$zip" ] || fail "no packages in $dist: run scripts/package.sh"
wine msiexec /i "$msi" /qn || fail "the MSI did not install"
app0="$(unix_folder '%LOCALAPPDATA%')/Programs/Tovira"
[ -f "$app0/tovira.exe" ] || fail "no tovira.exe in $app0"
portable="$WINEPREFIX/drive_c/Programmi prova/Caffè"
mkdir -p "$portable" && unzip -q "$zip" -d "$portable" || fail "cannot unpack $zip"
app1="$portable/Tovira"

first_start() {  # first_start COPY SLOT PATTERN: PATTERN is in the copy's path
  local dir=$1
  [ "$1" = app0 ] && dir=$app0
  [ "$1" = app1 ] && dir=$app1
  wine "$dir/tovira.exe" &
  local pid=$! box bar
  # The user interface here is English: so is the first start.
  box=$(wait_window "^First start$" 90) || fail "$1: the first-start box did not appear (in English)"
  sleep 1
  import -window root "$out/first-start-$1.png"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --window "$box" Return
  # The bar stays, with its hint until it has a button.
  bar=$(wait_window "^Tovira$" 30) || fail "$1: no bar after the first start's box"
  sleep 2
  import -window root "$out/first-start-bar-$1.png"
  close_bars
  wait_exit $pid 30 || fail "$1: the first bar did not close"
  reg_query 'HKCU\Software\Brenvoll\ToviraRoot' | grep -a "Brenvoll.Tovira_$2" | grep -aqi "$3" ||
    fail "$1 did not claim slot $2"
  [ -n "$(record "$2")" ] || fail "$1: no docking record after the first start"
}

first_start app0 0 "Programs.Tovira.tovira.exe"
first_start app1 1 "Programmi prova"
user_ini=$(find "$WINEPREFIX/drive_c/users" -path '*tovira/Config/Brenvoll/Tovira.ini' | head -1)
[ "$("$tool" ini get "$user_ini" Interfaccia Lingua)" = English ] || fail "the first start did not keep English as the language"
# The rest speaks the program's own language, chosen as a user would in the settings.
"$tool" ini set "$user_ini" Interfaccia Lingua Italiano || fail "cannot choose Italiano"
links=$(find "$WINEPREFIX/drive_c/users" -path '*tovira/ToolbarLinks' -type d | head -1)
[ -n "$links" ] || fail "no ToolbarLinks folder"
"$tool" table check "$links/ButtonList.lob" | grep -q 'records=0' || fail "no empty ButtonList.lob"
echo "first starts: slots 0 and 1, $(basename "$links") with an empty button list"

# A button list of four buttons in different styles and a separator.
"$tool" table dump "$links/ButtonList.lob" >"$out/empty.json" || fail "cannot dump the button list"
python3 - "$out/empty.json" "$out/buttons.json" <<'PY' || fail "cannot write the button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
def row(order, caption, path, kind="Button", **extra):
    values = {"Ordine": order, "Caption": caption, "Path": path, "Width": 92, "Height": 21,
              "Color": 0x8000000F, "LightColor": 0x80000014, "ShadowColor": 0x80000010,
              "HotTrackColor": 0x8000000F, "FontName": "Tahoma", "FontSize": 8, "FontColor": 0x80000008,
              "FontStyle": 0, "SelFontName": "Tahoma", "SelFontSize": 8, "SelFontColor": 0x80000008,
              "SelFontStyle": 0, "RealTime": False, "ShowText": True, "AutoSize": True, "WordWrap": False,
              "ButtonStyle": 0, "FolderMenu": False, "HotTrack": False, "TextAlignment": 2, "ImgLayout": 0,
              "SmallIcon": True, "Type": kind, "ShowIcon": True, "Hotkey": None}
    values.update(extra)
    # Integer columns are signed 32-bit: system colours are negative there.
    signed = lambda v: v - (1 << 32) if isinstance(v, int) and not isinstance(v, bool) and v >= 1 << 31 else v
    return [signed(values.get(n)) for n in names]
table["records"] = [
    row(0, "Blocco note", "C:\\windows\\notepad.exe"),
    row(1, "Sistema", "C:\\windows\\system32", ButtonStyle=1),
    row(2, "*Separator*", "", kind="Panel"),
    row(3, "Moderno", "C:\\windows\\regedit.exe", ButtonStyle=2, FontStyle=1),
    row(4, "Grande", "C:\\windows\\explorer.exe", ButtonStyle=3, SmallIcon=False, ImgLayout=2, Color=0x0040C0F0),
    row(5, "Piatto", "C:\\windows\\win.ini", ButtonStyle=2, Color=0x00F0D0A0, ShowText=False),
]
json.dump(table, open(sys.argv[2], "w"))
PY
"$tool" table load "$out/buttons.json" "$links/ButtonList.lob" || fail "cannot load the button list"

show_bar() {  # show_bar SHOT: starts app0, checks it, screenshots, closes with Alt+F4
  wine "$app0/tovira.exe" &
  local pid=$! bar
  bar=$(wait_window "^Tovira$" 90) || fail "the bar did not appear"
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  echo "bar at x=$X y=$Y width=$WIDTH height=$HEIGHT"
  import -window root "$out/$1.png"
  BAR_X=$X BAR_Y=$Y BAR_W=$WIDTH BAR_H=$HEIGHT
  xdotool windowfocus --sync "$bar" 2>/dev/null
  xdotool key --window "$bar" alt+F4
  wait_exit $pid 20 || { xdotool key alt+F4; wait_exit $pid 20; } || fail "Alt+F4 did not close the bar"
}

show_bar docked-top
[ "$BAR_Y" -le 5 ] && [ "$BAR_W" -ge 1200 ] || fail "the bar is not docked at the top"
[ "$BAR_H" -ge 20 ] && [ "$BAR_H" -le 80 ] || fail "the bar is not one row of buttons high"
"$tool" table check "$links/ButtonList.lob" | grep -q 'records=6' || fail "the button list lost rows"
rec=$(record 0)
echo "record: $rec"
[ ${#rec} -eq 176 ] || fail "the docking record is not 88 bytes"
[ "${rec:8:2}" = "01" ] || fail "the record does not say top"

# The left edge: byte 4 of the record is the edge.
wine reg add 'HKCU\Software\Brenvoll\Tovira_0' /ve /t REG_BINARY /d "${rec:0:8}00${rec:10}" /f >/dev/null 2>&1
show_bar docked-left
[ "$BAR_X" -le 5 ] && [ "$BAR_H" -ge 900 ] && [ "$BAR_W" -le 200 ] || fail "the bar is not docked at the left"

# A folder-menu button: a click pops up the entries of its folder.
menu_dir="$WINEPREFIX/drive_c/Menu di prova"
mkdir -p "$menu_dir/Sottocartella"
echo "testo" >"$menu_dir/Appunti.txt"
echo "a;b" >"$menu_dir/Conti.csv"
"$tool" lnk write 'C:\windows\notepad.exe' "$menu_dir/Blocco note.lnk" >/dev/null 2>&1 || true
wine reg add 'HKCU\Software\Brenvoll\Tovira_0' /ve /t REG_BINARY /d "$rec" /f >/dev/null 2>&1
python3 - "$out/empty.json" "$out/menu.json" <<'PY' || fail "cannot write the folder-menu button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
values = {"Ordine": 0, "Caption": "Cartella", "Path": "C:\\Menu di prova", "Width": 92, "Height": 21,
          "Color": 0x8000000F, "LightColor": 0x80000014, "ShadowColor": 0x80000010, "HotTrackColor": 0x8000000F,
          "FontName": "Tahoma", "FontSize": 8, "FontColor": 0x80000008, "FontStyle": 0, "SelFontName": "Tahoma",
          "SelFontSize": 8, "SelFontColor": 0x80000008, "SelFontStyle": 0, "RealTime": True, "ShowText": True,
          "AutoSize": True, "WordWrap": False, "ButtonStyle": 0, "FolderMenu": True, "HotTrack": False,
          "TextAlignment": 2, "ImgLayout": 0, "SmallIcon": True, "Type": "Button", "ShowIcon": True, "Hotkey": None}
signed = lambda v: v - (1 << 32) if isinstance(v, int) and not isinstance(v, bool) and v >= 1 << 31 else v
table["records"] = [[signed(values.get(n)) for n in names]]
json.dump(table, open(sys.argv[2], "w"))
PY
"$tool" table load "$out/menu.json" "$links/ButtonList.lob" || fail "cannot load the folder-menu button list"
wine "$app0/tovira.exe" &
pid=$!
bar=$(wait_window "^Tovira$" 90) || fail "the bar with the folder menu did not appear"
sleep 3
eval "$(xdotool getwindowgeometry --shell "$bar")"
import -window root "$out/folder-button.png"
# The button's middle: the grip takes the first few pixels of a top bar.
xdotool mousemove $((X + 40)) $((Y + HEIGHT / 2)) click 1
sleep 2
import -window root "$out/folder-menu.png"
# The menu covers what was below the bar: the two screenshots differ there.
area="200x60+$X+$((Y + HEIGHT))"
convert "$out/folder-button.png" -crop "$area" +repage "$out/below-before.png"
convert "$out/folder-menu.png" -crop "$area" +repage "$out/below-after.png"
below=$(compare -metric AE "$out/below-before.png" "$out/below-after.png" null: 2>&1 | cut -d' ' -f1)
echo "folder menu: $below pixels changed below the button"
[ "${below%.*}" -gt 500 ] 2>/dev/null || fail "no folder menu below the button"
xdotool key Escape
sleep 0.5
xdotool windowfocus --sync "$bar" 2>/dev/null
xdotool key --window "$bar" alt+F4
wait_exit $pid 20 || { xdotool key alt+F4; wait_exit $pid 20; } || fail "Alt+F4 did not close the bar"
# One bar per copy: a second start of app0 brings its running bar forward
# and ends; app1, the copy in the other folder, runs beside it.
count_bars() { xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l; }
wine "$app0/tovira.exe" &
pid=$!
bar=$(wait_window "^Tovira$" 90) || fail "the bar did not appear for the double start"
sleep 2
# The bar's window shows the program's icon: Wine hands it to X as
# _NET_WM_ICON; at 32 pixels the first button of the drawn bar is orange.
xprop -id "$bar" -notype 32c _NET_WM_ICON >"$out/icon.txt" 2>/dev/null
python3 - "$out/icon.txt" <<'PY' || fail "the bar's window does not show the program's icon"
import re, sys
numbers = [int(n) for n in re.findall(r"\d+", open(sys.argv[1]).read().split("=", 1)[1])]
width, height, pixels = numbers[0], numbers[1], numbers[2:]
assert (width, height) == (32, 32), (width, height)
p = pixels[9 * width + 7]
r, g, b = (p >> 16) & 255, (p >> 8) & 255, p & 255
assert r > 200 and 120 < g < 210 and b < 100, hex(p)
PY
wine "$app0/tovira.exe" &
again=$!
wait_exit $again 30 || fail "the second start of the same copy did not end"
sleep 1
bars=$(count_bars)
[ "$bars" -eq 1 ] || fail "the same copy started twice shows $bars bars"
wine "$app1/tovira.exe" &
beside=$!
for ((i = 0; i < 180; i++)); do [ "$(count_bars)" -ge 2 ] && break; sleep 0.5; done
bars=$(count_bars)
[ "$bars" -eq 2 ] || fail "the copy in the other folder shows $bars bars beside the first"
sleep 2
import -window root "$out/two-copies.png"
echo "one bar per copy: a second start of app0 left 1 bar; app1 beside it makes $bars"
close_bars
{ wait_exit $pid 20 && wait_exit $beside 20; } || fail "Alt+F4 did not close both bars"

# A folder of entries and no button list: the bar is built from the folder,
# and "Sposta dopo" on the first button moves it at once. A damaged list set
# aside earlier never becomes a button.
captions() {  # the button list's captions in its order, one line
  "$tool" table dump "$links/ButtonList.lob" | python3 -c '
import json, sys
t = json.load(sys.stdin)
i = [f["name"] for f in t["fields"]].index("Caption")
print(" ".join(r[i] for r in t["records"]))'
}
rm -f "$links"/*
for f in Uno Due Tre; do echo "$f" >"$links/$f.txt"; done
echo "rotto" >"$links/ButtonList.lob.damaged"
wine "$app0/tovira.exe" &
pid=$!
bar=$(wait_window "^Tovira$" 90) || fail "the bar built from a folder did not appear"
sleep 3
before=$(captions)
echo "buttons from the folder: $before"
[ "$(echo "$before" | wc -w)" -eq 3 ] || fail "the folder's three entries are not three buttons: $before"
case " $before " in *ButtonList*) fail "a side file of the button list became a button: $before" ;; esac
eval "$(xdotool getwindowgeometry --shell "$bar")"
xdotool mousemove $((X + 20)) $((Y + HEIGHT / 2)) click 3
sleep 1
import -window root "$out/button-menu.png"
xdotool key Down Down Return
sleep 2
after=$(captions)
echo "after Sposta dopo: $after"
read -r b1 b2 b3 <<<"$before"
[ "$after" = "$b2 $b1 $b3" ] || fail "Sposta dopo did not move the first button: $before -> $after"
import -window root "$out/moved.png"
xdotool windowfocus --sync "$bar" 2>/dev/null
xdotool key --window "$bar" alt+F4
wait_exit $pid 20 || { xdotool key alt+F4; wait_exit $pid 20; } || fail "Alt+F4 did not close the bar"

# A button list that cannot be written (a folder stands in its place): the
# bar shows its buttons and an error box, and goes on running.
rm -f "$links/ButtonList.lob"
mkdir "$links/ButtonList.lob"
wine "$app0/tovira.exe" &
pid=$!
for ((i = 0; i < 120; i++)); do
  [ "$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.5
done
sleep 2
import -window root "$out/cannot-save.png"
[ "$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l)" -ge 2 ] || fail "no error box over the bar"
xdotool key Return
sleep 2
kill -0 $pid 2>/dev/null || fail "the bar ended after a save that failed"
bar=$(wait_window "^Tovira$" 10) || fail "the bar is gone after a save that failed"
ls "$links" | grep -q '\.tmp$' && fail "a failed save left a temporary file"
import -window root "$out/still-running.png"
xdotool windowfocus --sync "$bar" 2>/dev/null
xdotool key --window "$bar" alt+F4
sleep 1
xdotool search --onlyvisible --name '^Tovira$' >/dev/null 2>&1 && xdotool key Return  # a box left open
wait_exit $pid 20 || { xdotool key alt+F4; wait_exit $pid 20; } || fail "Alt+F4 did not close the bar"
rmdir "$links/ButtonList.lob"

# "Autore" on the bar's menu shows the about box; Enter closes it.
wine "$app0/tovira.exe" &
pid=$!
bar_started=$SECONDS
bar=$(wait_window "^Tovira$" 90) || fail "the bar did not appear for the about box"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$bar")"
xdotool mousemove $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) click 3
sleep 1
xdotool key Up Up Return  # from the bottom: "Chiudi", then "Autore"
about=$(wait_window "^Autore$" 20) || fail "no about box after Autore"
sleep 2
import -window root "$out/about.png"
xdotool windowfocus --sync "$about" 2>/dev/null
xdotool key Return
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Autore$' >/dev/null 2>&1 || break; sleep 0.5; done
xdotool search --onlyvisible --name '^Autore$' >/dev/null 2>&1 && fail "Enter did not close the about box"
kill -0 $pid 2>/dev/null || fail "the bar ended with the about box"
echo "about box: shown from the menu, closed with Enter"

# "Impostazioni" opens the settings dialog built from the template: the
# focus on its list of sections, Down shows "Pannello", Tab reaches its
# options in their order, Space turns "ShowBevel" off and Enter confirms. The
# settings file and the bar take it (the grip line goes). Opened again,
# changed and left with Esc, the file stays as it was.
settings_ini=$(find "$WINEPREFIX/drive_c/users" -path '*tovira/Config/Brenvoll/Tovira.ini' | head -1)
open_settings() {
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) click 3
  sleep 1
  xdotool key Up Up Up Up Up Up Return  # from the bottom: "Chiudi", "Autore", "Temi", "Salva come tema", "Lingue", "Impostazioni"
  wait_window "^Impostazioni$" 20
}
eval "$(xdotool getwindowgeometry --shell "$bar")"
bar_area="200x$((HEIGHT))+$X+$Y"
import -window root -crop "$bar_area" "$out/bar-with-grip.png"
dialog=$(open_settings) || fail "no settings dialog after Impostazioni"
sleep 2
import -window root "$out/settings.png"
xdotool key Down
sleep 1
import -window root "$out/settings-pannello.png"
xdotool key Tab Tab Tab Tab space
sleep 0.5
import -window root "$out/settings-changed.png"
xdotool key Return
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 || break; sleep 0.5; done
xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 && fail "Enter did not confirm the settings"
[ -n "$settings_ini" ] || settings_ini=$(find "$WINEPREFIX/drive_c/users" -path '*tovira/Config/Brenvoll/Tovira.ini' | head -1)
tr -d '\r' <"$settings_ini" | grep -qx 'ShowBevel=False' || { cat "$settings_ini"; fail "ShowBevel=False did not reach the settings file"; }
changed=0
for ((i = 0; i < 20; i++)); do
  sleep 0.5
  import -window root -crop "$bar_area" "$out/bar-without-grip.png"
  changed=$(compare -metric AE "$out/bar-with-grip.png" "$out/bar-without-grip.png" /dev/null 2>&1)
  [ "${changed%.*}" -gt 10 ] 2>/dev/null && break
done
[ "${changed%.*}" -gt 10 ] 2>/dev/null || fail "the bar kept its grip line after ShowBevel went off"
echo "settings: ShowBevel off confirmed, in the file and on the bar ($changed pixels changed)"
cp "$settings_ini" "$out/settings-before-cancel.ini"
dialog=$(open_settings) || fail "no settings dialog the second time"
sleep 2
xdotool key Down
sleep 1
xdotool key Tab Tab Tab Tab space Escape
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 || break; sleep 0.5; done
xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 && fail "Esc did not close the settings"
cmp -s "$settings_ini" "$out/settings-before-cancel.ini" || {
  diff "$out/settings-before-cancel.ini" "$settings_ini"
  fail "closing the settings without confirming changed the file"
}
echo "settings: a change left with Esc leaves the file as it was"
# A settings file that cannot be written (a folder stands where its new copy
# is made): Enter brings an error box, and the dialog stays open with the
# change; once the file can be written, Enter confirms it.
dialog=$(open_settings) || fail "no settings dialog the third time"
sleep 2
mkdir "$settings_ini.tmp"
xdotool key Down
sleep 1
xdotool key Tab Tab Tab Tab space Return
for ((i = 0; i < 40; i++)); do
  [ "$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l)" -ge 2 ] && break
  sleep 0.5
done
sleep 1
import -window root "$out/settings-not-saved.png"
[ "$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l)" -ge 2 ] || fail "no error box when the settings file cannot be written"
xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 || fail "the settings closed although they were not saved"
cmp -s "$settings_ini" "$out/settings-before-cancel.ini" || fail "a save that failed changed the settings file"
rmdir "$settings_ini.tmp"
xdotool key Return  # the box
sleep 1
dialog=$(wait_window "^Impostazioni$" 5) || fail "the settings closed with the error box"
xdotool windowfocus --sync "$dialog" 2>/dev/null
xdotool key Return
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 || break; sleep 0.5; done
xdotool search --onlyvisible --name '^Impostazioni$' >/dev/null 2>&1 && fail "Enter did not confirm the settings once the file could be written"
tr -d '\r' <"$settings_ini" | grep -qx 'ShowBevel=True' || { cat "$settings_ini"; fail "the change kept in the dialog did not reach the file"; }
echo "settings: a save that failed is told, the dialog and the change stay until the file can be written"

# "Layout pulsanti" lists the bar's buttons with their icons. A row chosen
# and another style set, a row joining the selection with Ctrl leaves the
# style in its editor; "Tutto" selects every row, and "Applica" restyles
# every button on the bar and in the button list; a combination saved under
# a name lands in the themes file; closed, the dialog opens again where it
# was.
open_layout() {
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) click 3
  sleep 1
  xdotool key Up Up Up Up Up Up Up Return  # above "Impostazioni"
  wait_window "^Layout pulsanti$" 20
}
click_in() {  # click_in WINDOW X Y: a click at a point of the window's client area
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + $2)) $((Y + $3)) click 1
  sleep 0.7
}
save_theme Chiaro
import -window root -crop "$bar_area" "$out/bar-before-layout.png"
layout=$(open_layout) || fail "no layout dialog after Layout pulsanti"
sleep 2
import -window root "$out/layout.png"
eval "$(xdotool getwindowgeometry --shell "$layout")"
place_before="$X $Y"
click_in "$layout" 60 28     # the first row
click_in "$layout" 160 235   # the style's list opens
xdotool key Down Down Return # "Piatto con i colori scelti"
sleep 0.5
# The second row joins: rows are 17 pixels apart, the first at 28. The
# picture shows the two rows selected before "Tutto" selects them all.
eval "$(xdotool getwindowgeometry --shell "$layout")"
xdotool mousemove $((X + 60)) $((Y + 28 + 17)) keydown ctrl click 1 keyup ctrl
sleep 0.7
import -window root "$out/layout-two-rows.png"
click_in "$layout" 41 178    # "Tutto"
import -window root "$out/layout-chosen.png"
click_in "$layout" 625 410   # "Applica"
sleep 1
import -window root "$out/layout-applied.png"
"$tool" table dump "$links/ButtonList.lob" >"$out/after-apply.json" 2>/dev/null || fail "cannot read the button list after Applica"
python3 - "$out/after-apply.json" <<'PY' || fail "Applica did not restyle every button in the button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
rows = [dict(zip(names, r)) for r in table["records"]]
styles = [r["ButtonStyle"] for r in rows if r["Type"] == "Button"]
print("button styles after Applica:", styles)
sys.exit(0 if styles and all(s == 2 for s in styles) else 1)
PY
import -window root -crop "$bar_area" "$out/bar-after-layout.png"
restyled=$(compare -metric AE "$out/bar-before-layout.png" "$out/bar-after-layout.png" /dev/null 2>&1)
[ "${restyled%.*}" -gt 50 ] 2>/dev/null || fail "the bar's buttons did not change after Applica ($restyled)"
echo "layout: every button restyled, in the list and on the bar ($restyled pixels changed)"
# A combination saved under a name.
click_in "$layout" 634 178   # "Salva"
prompt=$(wait_window "^Digitare il nome del modello$" 20) || fail "no prompt for the combination's name"
sleep 1
xdotool windowfocus --sync "$prompt" 2>/dev/null
xdotool type --delay 50 "Piatto"
sleep 0.5
xdotool key --window "$prompt" Return
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Digitare il nome del modello$' >/dev/null 2>&1 || break; sleep 0.5; done
themes=$(find "$WINEPREFIX/drive_c/users" -ipath '*tovira/Data/Themes.DAT' | head -1)
[ -n "$themes" ] || fail "no Themes.DAT after saving a combination"
"$tool" table dump "$themes" 2>/dev/null | grep -q '"Piatto"' || fail "the combination is not in Themes.DAT"
import -window root "$out/layout-saved.png"
xdotool key alt+F4
for ((i = 0; i < 20; i++)); do xdotool search --onlyvisible --name '^Layout pulsanti$' >/dev/null 2>&1 || break; sleep 0.5; done
xdotool search --onlyvisible --name '^Layout pulsanti$' >/dev/null 2>&1 && fail "Alt+F4 did not close the layout dialog"
layout=$(open_layout) || fail "no layout dialog the second time"
sleep 2
eval "$(xdotool getwindowgeometry --shell "$layout")"
[ "$X $Y" = "$place_before" ] || fail "the layout dialog opened at $X $Y, not where it was ($place_before)"
xdotool key alt+F4
echo "layout: a combination saved in Themes.DAT; the dialog opens again where it was"
sleep 1
apply_first_theme Chiaro
delete_first_theme Chiaro
broken_theme_leaves_the_bar
rename_first_button Rinominato
delete_first_button
desktop_changes
crash_the_bar
crash_within_a_minute
close_bars
wait_exit $pid 20 || fail "the bar did not close after the about box"
names_in_every_script
files_of_an_earlier_release
scale_steps
keys_steps
live_folder_steps
close_bars
wait_exit $pid 20 || fail "the bar did not close after the live folder's steps"
echo "bar_under_wine: ok"
