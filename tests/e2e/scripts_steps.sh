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

start_bar() {  # start_bar: app0, its window in `bar`, its process in `pid`
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
