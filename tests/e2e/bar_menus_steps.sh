# Steps of bar_under_wine.sh on the bar's menus, with a running bar in `bar`,
# its links folder in `links`, its settings file in `settings_ini`, the
# output folder in `out` and tovira-tool in `tool`: themes saved, applied
# and deleted, a button renamed and a button deleted with its file.

bar_menu() {  # bar_menu KEY...: the bar's menu by a right click on its empty part, then the keys
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) click 3
  sleep 1
  xdotool key --delay 150 "$@"
}
button_menu() {  # button_menu KEY...: the first button's menu, then the keys
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + 20)) $((Y + HEIGHT / 2)) click 3
  sleep 1
  xdotool key --delay 150 "$@"
}
wait_gone() {  # wait_gone NAME SECONDS: false when a window of that name stays
  local i
  for ((i = 0; i < $2 * 2; i++)); do
    xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 || return 0
    sleep 0.5
  done
  return 1
}
type_into() {  # type_into WINDOW TEXT: replaces the focused field's text and confirms
  xdotool windowfocus --sync "$1" 2>/dev/null
  if LC_ALL=C grep -q '[^ -~]' <<<"$2"; then
    # Characters the keyboard lacks: xdotool gives each a key for the moment,
    # and Wine loses some it reads too late; the tool hands the field the
    # characters as the system hands a keyboard's (WM_CHAR, UTF-16).
    wine "$build/win/tovira-tool.exe" desktop type "$(xdotool getwindowname "$1")" "$2" ||
      fail "cannot type '$2' into the window"
  else
    xdotool key ctrl+a
    xdotool type --delay 50 "$2"
  fi
  sleep 0.5
  xdotool key --window "$1" Return
}
column() {  # column FILE NAME: a column of a table file, one line
  "$tool" table dump "$1" | python3 -c '
import json, sys
t = json.load(sys.stdin)
i = [f["name"] for f in t["fields"]].index(sys.argv[1])
print(" ".join(str(r[i]) for r in t["records"]))' "$2"
}
themes_folder() { find "$WINEPREFIX/drive_c/users" -ipath '*tovira/Themes' -type d | head -1; }

# "Salva come tema": the name typed into the prompt; the table and a byte
# copy of the settings file land in the Themes folder.
save_theme() {  # save_theme NAME
  bar_menu Up Up Up Up Return # from the bottom: "Chiudi", "Autore", "Temi", "Salva come tema"
  local prompt folder
  prompt=$(wait_window "^Digitare il nome del tema$" 20) || fail "no prompt after Salva come tema"
  sleep 1
  type_into "$prompt" "$1"
  wait_gone "^Digitare il nome del tema$" 10 || fail "the theme's prompt stayed open"
  folder=$(themes_folder)
  # The prompt closes before the save has put both files in place.
  local i
  for ((i = 0; i < 20; i++)); do
    [ -f "$folder/$1.theme" ] && [ -f "$folder/$1.themeini" ] && ! ls "$folder" | grep -q '\.tmp$' && break
    sleep 0.5
  done
  [ -f "$folder/$1.theme" ] && [ -f "$folder/$1.themeini" ] || fail "the theme $1 was not saved: $(ls "$folder")"
  cmp -s "$folder/$1.themeini" "$settings_ini" || fail "$1.themeini is not a copy of the settings file"
  [ "$(column "$folder/$1.theme" ButtonStyle)" = "$(column "$links/ButtonList.lob" ButtonStyle)" ] ||
    fail "$1.theme does not hold the bar's buttons"
  echo "themes: $1 saved ($(column "$folder/$1.theme" Caption))"
}

# "Temi": the first theme of the sub-menu is applied: the buttons take its
# styles and keep their captions and order.
apply_first_theme() {  # apply_first_theme NAME
  local captions styles
  captions=$(column "$links/ButtonList.lob" Caption)
  import -window root -crop "$bar_area" "$out/bar-before-theme.png"
  bar_menu Up Up Up Right # "Temi", its first item
  sleep 1
  import -window root "$out/themes-menu.png"
  xdotool key Return
  sleep 2
  import -window root "$out/theme-applied.png"
  styles=$(column "$links/ButtonList.lob" ButtonStyle)
  [ "$styles" = "$(column "$(themes_folder)/$1.theme" ButtonStyle)" ] ||
    fail "the theme $1 did not restyle the buttons: $styles"
  [ "$(column "$links/ButtonList.lob" Caption)" = "$captions" ] || fail "applying $1 changed the buttons' captions"
  import -window root -crop "$bar_area" "$out/bar-after-theme.png"
  local changed
  changed=$(compare -metric AE "$out/bar-before-theme.png" "$out/bar-after-theme.png" /dev/null 2>&1)
  [ "${changed%.*}" -gt 50 ] 2>/dev/null || fail "the bar did not change when $1 was applied ($changed)"
  echo "themes: $1 applied, styles $styles, captions kept ($changed pixels changed)"
}

# "Temi", "Elimina temi", the theme: both files go.
delete_first_theme() {  # delete_first_theme NAME
  bar_menu Up Up Up Right Up Right Return # "Temi", up to "Elimina temi", its first item
  sleep 1
  local folder
  folder=$(themes_folder)
  [ -e "$folder/$1.theme" ] || [ -e "$folder/$1.themeini" ] && fail "the theme $1 was not deleted"
  echo "themes: $1 deleted"
}

# "Rinomina" on the first button: its caption in the prompt, the new one
# typed; the file and the button take it.
rename_first_button() {  # rename_first_button NEW
  local before first prompt
  before=$(column "$links/ButtonList.lob" Caption)
  first=${before%% *}
  button_menu Up Up Return # from the bottom: "Elimina", "Rinomina"
  prompt=$(wait_window "^Digitare l'etichetta del pulsante$" 20) || fail "no prompt after Rinomina"
  sleep 1
  import -window root "$out/rename-prompt.png"
  type_into "$prompt" "$1"
  wait_gone "^Digitare l'etichetta del pulsante$" 10 || fail "the rename prompt stayed open"
  sleep 1
  local after
  after=$(column "$links/ButtonList.lob" Caption)
  [ "$after" = "$1${before#"$first"}" ] || fail "Rinomina: $before -> $after"
  ls "$links" | grep -q "^$1\." || fail "the file of $first was not renamed to $1"
  ls "$links" | grep -q "^$first\." && fail "the file $first is still there"
  import -window root "$out/renamed.png"
  echo "button menu: $first renamed $1 ($after)"
}

# "Elimina" on the first button, yes to both questions: the button and its
# file go.
delete_first_button() {
  local before first box
  before=$(column "$links/ButtonList.lob" Caption)
  first=${before%% *}
  button_menu Up Return # "Elimina"
  for answer in 1 2; do
    box=$(wait_window "^Conferma eliminazione$" 20) || fail "question $answer of Elimina did not come"
    sleep 1
    [ $answer = 1 ] && import -window root "$out/delete-question.png"
    xdotool windowfocus --sync "$box" 2>/dev/null
    xdotool key --window "$box" Return # yes, the default
    wait_gone "^Conferma eliminazione$" 10 || sleep 1
  done
  sleep 1
  local after
  after=$(column "$links/ButtonList.lob" Caption)
  [ "$after" = "${before#"$first" }" ] || fail "Elimina: $before -> $after"
  ls "$links" | grep -q "^$first\." && fail "the file of $first was not deleted"
  echo "button menu: $first deleted with its file ($after)"
}

# A theme whose second row cannot be converted (its width is no number),
# written with tovira-tool: "Temi", that theme, leaves the bar exactly as it
# was (its button list and its pixels) and tells the user. The theme saved
# after it makes the menu again; the folder lists the broken one first.
broken_theme_leaves_the_bar() {
  local folder version box changed
  folder=$(themes_folder)
  version=$("$tool" table dump "$links/ButtonList.lob" | python3 -c 'import json, sys; print(json.load(sys.stdin)["version"])')
  cat >"$out/broken-theme.json" <<JSON
{"version": $version,
 "fields": [{"name": "Ordine", "type": "Integer", "size": 0, "required": false},
            {"name": "Caption", "type": "String", "size": 64, "required": false},
            {"name": "Path", "type": "String", "size": 64, "required": false},
            {"name": "Width", "type": "String", "size": 64, "required": false}],
 "indexes": [],
 "records": [[0, "T1", "C:\\\\t1.lnk", "31"], [1, "T2", "C:\\\\t2.lnk", "largo"], [2, "T3", "C:\\\\t3.lnk", "33"]]}
JSON
  "$tool" table load "$out/broken-theme.json" "$folder/Rotto.theme" || fail "tovira-tool could not write the broken theme"
  save_theme Zeta
  cp "$links/ButtonList.lob" "$out/list-before-broken-theme.lob"
  import -window root -crop "$bar_area" "$out/bar-before-broken-theme.png"
  bar_menu Up Up Up Right # "Temi", its first item
  sleep 1
  import -window root "$out/themes-menu-broken.png"
  xdotool key Return
  box=$(wait_window "^Tovira - Errore$" 20) || fail "no message after a theme that cannot be applied"
  sleep 1
  import -window root "$out/theme-not-applied.png"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --window "$box" Return
  wait_gone "^Tovira - Errore$" 10 || fail "the message of the broken theme stayed"
  sleep 1
  cmp -s "$links/ButtonList.lob" "$out/list-before-broken-theme.lob" || fail "the broken theme changed the button list"
  import -window root -crop "$bar_area" "$out/bar-after-broken-theme.png"
  changed=$(compare -metric AE "$out/bar-before-broken-theme.png" "$out/bar-after-broken-theme.png" /dev/null 2>&1)
  [ "${changed%.*}" -lt 20 ] 2>/dev/null || fail "the bar changed after the broken theme ($changed pixels)"
  echo "themes: a theme with a row that does not convert was told and left the bar as it was ($changed pixels changed)"
}
