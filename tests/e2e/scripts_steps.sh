# Steps of bar_under_wine.sh with names in scripts other than the Latin one,
# with every bar closed, the program in `app0`, its links folder in `links`,
# its settings file in `settings_ini`, the output folder in `out` and
# tovira-tool in `tool` (bar_menus_steps.sh sourced before):
# - a source folder with Документы.lnk (on the folder C:\Документы), 日本語.lnk
#   and Ελληνικά.lnk gives buttons with exactly those captions;
# - a theme saved under a Greek name typed into the prompt is listed and,
#   after the buttons changed, brings their looks back;
# - a click on Документы opens the folder;
# - "Rinomina" to a Cyrillic name typed into the prompt renames the shortcut;
# - a file with a Japanese name dropped on the bar (by the X drag and drop
#   protocol, as a file manager drops it) becomes a shortcut and a button.
# Windows draws these scripts in the bar's fonts through its font links; the
# prefix links the same fonts to a font of this system with the Far East's
# characters, so the screenshot shows them as a user sees them.

here_scripts=$(dirname "${BASH_SOURCE[0]}")

sorted_captions() { column "$links/ButtonList.lob" Caption | tr ' ' '\n' | sort | tr '\n' ' '; }

start_bar() {  # start_bar: app0 docked at the top, its window in `bar`, its process in `pid`
  local rec
  rec=$(record 0)
  [ ${#rec} -eq 176 ] && wine reg add 'HKCU\Software\Brenvoll\Tovira_0' /ve /t REG_BINARY /d "${rec:0:8}01${rec:10}" /f >/dev/null 2>&1
  wine "$app0/tovira.exe" &
  pid=$!
  bar_started=$SECONDS
  bar=$(wait_window "^Tovira$" 90) || fail "the bar did not appear"
  sleep 3
}
close_bar() {
  xdotool windowfocus --sync "$bar" 2>/dev/null
  xdotool key --window "$bar" alt+F4
  wait_exit $pid 20 || { xdotool key alt+F4; wait_exit $pid 20; } || fail "Alt+F4 did not close the bar"
}

names_in_every_script() {
  local docs="$WINEPREFIX/drive_c/Документы" photos="$WINEPREFIX/drive_c/写真" want got folder
  for face in "MS Sans Serif" "Microsoft Sans Serif" "Tahoma"; do
    wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontLink\SystemLink' /v "$face" \
      /t REG_MULTI_SZ /d 'wqy-microhei.ttc,WenQuanYi Micro Hei' /f >/dev/null 2>&1
  done
  rm -rf "${links:?}"/*
  folder=$(themes_folder)
  [ -n "$folder" ] && rm -f "$folder"/*
  mkdir -p "$docs" "$photos" && echo "nota" >"$docs/заметка.txt" && echo "foto" >"$photos/夏休み.txt"
  "$tool" lnk write 'C:\Документы' "$links/Документы.lnk" >/dev/null &&
    "$tool" lnk write 'C:\windows\notepad.exe' "$links/日本語.lnk" >/dev/null &&
    "$tool" lnk write 'C:\windows\win.ini' "$links/Ελληνικά.lnk" >/dev/null || fail "cannot write the shortcuts"

  start_bar
  want=$(printf '%s\n' Документы 日本語 Ελληνικά | sort | tr '\n' ' ')
  got=$(sorted_captions)
  [ "$got" = "$want" ] || fail "the buttons' captions are '$got', not '$want'"
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  bar_area="$((WIDTH))x$((HEIGHT))+$X+$Y"
  import -window root -crop "520x$HEIGHT+$X+$Y" "$out/bar-scripts.png"
  echo "scripts: buttons $(column "$links/ButtonList.lob" Caption)"
  save_theme "Θέμα"
  close_bar

  # The looks change and Документы comes first, as the layout dialog would
  # leave them; the bar reads the list back.
  "$tool" table dump "$links/ButtonList.lob" >"$out/scripts.json" || fail "cannot dump the button list"
  python3 - "$out/scripts.json" <<'PY' || fail "cannot change the button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
rows = [dict(zip(names, r)) for r in table["records"]]
rows.sort(key=lambda r: (r["Caption"] != "Документы", r["Ordine"]))
for order, r in enumerate(rows):
    r["Ordine"], r["ButtonStyle"], r["FontStyle"] = order, 3, 1
table["records"] = [[r[n] for n in names] for r in rows]
json.dump(table, open(sys.argv[1], "w"), ensure_ascii=False)
PY
  "$tool" table load "$out/scripts.json" "$links/ButtonList.lob" || fail "cannot load the button list"

  start_bar
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  # Where this start put the bar: the theme's change is looked for there.
  bar_area="$((WIDTH))x$((HEIGHT))+$X+$Y"
  xdotool mousemove $((X + 20)) $((Y + HEIGHT / 2)) click 1
  local window
  window=$(wait_window "^Документы$" 30) || fail "a click on Документы did not open the folder"
  sleep 2
  import -window root "$out/scripts-folder.png"
  xdotool windowfocus --sync "$window" 2>/dev/null
  xdotool key --window "$window" alt+F4
  wait_gone "^Документы$" 10 || fail "the folder's window stayed open"
  echo "scripts: a click on Документы opened the folder"

  apply_first_theme "Θέμα"
  rename_first_button "Папка"

  eval "$(xdotool getwindowgeometry --shell "$bar")"
  /usr/bin/python3 "$here_scripts/xdnd_drop.py" "$bar" $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) "$photos/夏休み.txt" ||
    fail "the bar did not take the dropped file"
  local i
  for ((i = 0; i < 20; i++)); do
    column "$links/ButtonList.lob" Caption | grep -q "夏休み" && break
    sleep 0.5
  done
  column "$links/ButtonList.lob" Caption | grep -q "夏休み" || fail "the dropped file is no button: $(column "$links/ButtonList.lob" Caption)"
  ls "$links" | grep -q "^夏休み.*\.lnk$" || fail "the dropped file has no shortcut: $(ls "$links")"
  sleep 1
  import -window root -crop "520x$HEIGHT+$X+$Y" "$out/bar-scripts-dropped.png"
  echo "scripts: a dropped file became a button ($(column "$links/ButtonList.lob" Caption))"
  close_bar
}

# A button list and a settings file of an earlier release, their text in
# Windows-1252: the settings name the folder C:\Caffè, whose list holds two
# buttons "Caffè uno" and "Caffè due". The bar finds the folder and its
# buttons, and the first save of each file writes it in UTF-8.
files_of_an_earlier_release() {
  local cafe="$WINEPREFIX/drive_c/Caffè"
  mkdir -p "$cafe"
  "$tool" lnk write 'C:\windows\notepad.exe' "$cafe/Caffè uno.lnk" >/dev/null &&
    "$tool" lnk write 'C:\windows\win.ini' "$cafe/Caffè due.lnk" >/dev/null || fail "cannot write the shortcuts of C:\\Caffè"
  "$tool" table dump "$links/ButtonList.lob" >"$out/legacy.json" || fail "cannot dump the button list"
  python3 - "$out/legacy.json" <<'PY' || fail "cannot write the earlier release's button list"
import json, sys
table = json.load(open(sys.argv[1]))
names = [f["name"] for f in table["fields"]]
model = dict(zip(names, table["records"][0]))
rows = []
for order, word in enumerate(["uno", "due"]):
    row = dict(model, Ordine=order, Caption="CaffX " + word, Path="C:\\CaffX\\CaffX " + word + ".lnk")
    rows.append([row[n] for n in names])
table["records"] = rows
json.dump(table, open(sys.argv[1], "w"), ensure_ascii=False)
PY
  "$tool" table load "$out/legacy.json" "$cafe/ButtonList.lob" || fail "cannot load the earlier release's button list"
  # The earlier release wrote "è" as the one byte E8: same length as "X".
  python3 - "$cafe/ButtonList.lob" <<'PY' || fail "cannot turn the button list into Windows-1252"
import sys
data = open(sys.argv[1], "rb").read().replace(b"CaffX", b"Caff\xe8")
open(sys.argv[1], "wb").write(data)
PY
  cp "$settings_ini" "$out/settings-before-earlier-release.ini"
  printf '[Interfaccia]\r\nLingua=Italiano\r\n[Generale]\r\nFolderSource=C:\\Caff\xe8\r\n' >"$settings_ini"
  is_utf8() { python3 -c 'import sys; open(sys.argv[1], "rb").read().decode("utf-8")' "$1" 2>/dev/null; }
  # The strings of a binary table: "Caffè" as one byte or as UTF-8's two.
  has_bytes() { python3 -c 'import sys; sys.exit(bytes.fromhex(sys.argv[2]) not in open(sys.argv[1], "rb").read())' "$1" "$2"; }
  has_bytes "$cafe/ButtonList.lob" "43616666e8" || fail "the earlier release's button list is not in Windows-1252"

  start_bar
  button_menu Down Down Return # "Sposta dopo": the list is saved
  sleep 2
  local after
  after=$(column "$cafe/ButtonList.lob" Caption)
  [ "$after" = "Caffè due Caffè uno" ] || fail "the bar did not show C:\\Caffè's buttons as Caffè uno, Caffè due: $after"
  has_bytes "$cafe/ButtonList.lob" "43616666c3a8" && ! has_bytes "$cafe/ButtonList.lob" "43616666e8" ||
    fail "the button list was not written back in UTF-8"
  import -window root -crop "300x40+0+0" "$out/bar-earlier-release.png"
  open_settings >/dev/null || fail "no settings dialog over the earlier release's settings"
  sleep 2
  xdotool key Down
  sleep 1
  xdotool key Tab Tab Tab Tab space Return
  wait_gone "^Impostazioni$" 10 || fail "Enter did not confirm the settings"
  is_utf8 "$settings_ini" || fail "the settings file was not written back in UTF-8"
  tr -d '\r' <"$settings_ini" | grep -qx 'FolderSource=C:\\Caffè' || { cat "$settings_ini"; fail "the settings file lost C:\\Caffè"; }
  echo "earlier release: Windows-1252 'Caffè' read from the button list and the settings, both written back in UTF-8"
  close_bar
  # The steps after this one find the settings as they were.
  cp "$out/settings-before-earlier-release.ini" "$settings_ini"
}
