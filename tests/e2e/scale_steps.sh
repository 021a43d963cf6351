# Steps of bar_under_wine.sh at 150 %: the installed copy in `app0`, with its
# buttons, starts once in the script's prefix (96 DPI) and once in a copy of
# that prefix whose display is set to 144 DPI (HKCU\Control Panel\Desktop,
# LogPixels). At 144 DPI the bar's buttons are 1.5 times as tall (within two
# pixels), and so is the bar; the settings and the button layout dialogs are
# laid out at the scale, 1.5 times as large (within a few pixels).
# Screenshots of both scales land in `out` (scale-100-*.png,
# scale-150-*.png): look at them for clipped controls. Then
# the bar is sent WM_DPICHANGED docked and floating (tovira-tool desktop
# dpi, the rectangle the system would suggest written into the bar's
# process): it lays itself out again at the new scale each time. Runs with no
# bar open and leaves none open.

scale_tool="$build/win/tovira-tool.exe"

# The box of what changes on the bar when the mouse rests on its first
# button (the button drawn raised): "WIDTH HEIGHT", or nothing.
hovered_box() {
  local g
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  g="${WIDTH}x${HEIGHT}+$X+$Y"
  xdotool mousemove $((X + WIDTH - 3)) $((Y + HEIGHT - 2))
  sleep 1
  import -window root -crop "$g" +repage "$out/scale-rest.png"
  xdotool mousemove $((X + HEIGHT + HEIGHT / 2)) $((Y + HEIGHT / 2))
  sleep 0.4
  import -window root -crop "$g" +repage "$out/scale-hover.png"
  convert "$out/scale-rest.png" "$out/scale-hover.png" -compose difference -composite -threshold 0 -trim \
    -format '%w %h' info: 2>/dev/null
}

window_size() {  # window_size WINDOW: "WIDTH HEIGHT"
  eval "$(xdotool getwindowgeometry --shell "$1")"
  echo "$WIDTH $HEIGHT"
}

# One start at the prefix's scale: the bar, its first button, the two
# dialogs. Sets scale_bar, scale_button, scale_settings and scale_layout.
scale_run() {  # scale_run PERCENT
  local pid dialog
  wine "$app0/tovira.exe" &
  pid=$!
  bar=$(wait_window "^Tovira$" 90) || fail "$1 %: the bar did not appear"
  sleep 3
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  scale_bar="$WIDTH $HEIGHT"
  import -window root -crop "$((WIDTH < 640 ? WIDTH : 640))x$HEIGHT+$X+$Y" +repage "$out/scale-$1-bar.png"
  scale_button=$(hovered_box)
  dialog=$(open_settings) || fail "$1 %: no settings dialog"
  sleep 2
  scale_settings=$(window_size "$dialog")
  import -window root "$out/scale-$1-settings.png"
  xdotool key Escape
  sleep 1
  dialog=$(open_layout) || fail "$1 %: no layout dialog"
  sleep 2
  scale_layout=$(window_size "$dialog")
  import -window root "$out/scale-$1-layout.png"
  xdotool key alt+F4
  sleep 1
  scale_pid=$pid
}

# within A B TOLERANCE: B is 1.5 times A, give or take TOLERANCE.
within() { local want=$(($1 * 3 / 2)); [ "$2" -ge $((want - $3)) ] && [ "$2" -le $((want + $3 + 1)) ]; }

scale_steps() {
  local prefix96=$WINEPREFIX app96=$app0 bar100 button100 settings100 layout100 w h w1 h1
  scale_run 100
  bar100=$scale_bar button100=$scale_button settings100=$scale_settings layout100=$scale_layout
  close_bars
  wait_exit $scale_pid 20 || fail "the bar at 100 % did not close"
  wineserver -w
  # The same user at 150 %, in a prefix of its own.
  export WINEPREFIX="$out/prefix-144"
  rm -rf "$WINEPREFIX" && cp -r "$prefix96" "$WINEPREFIX"
  app0="$WINEPREFIX${app96#"$prefix96"}"
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1
  wineserver -k
  wineserver -w
  scale_run 150
  read -r w h <<<"$bar100"
  read -r w1 h1 <<<"$scale_bar"
  echo "scale: the bar is $h pixels tall at 100 %, $h1 at 150 %"
  within "$h" "$h1" 3 || fail "at 150 % the bar is $h1 pixels tall, not 1.5 times $h"
  if [ -n "$button100" ] && [ -n "$scale_button" ]; then
    read -r w h <<<"$button100"
    read -r w1 h1 <<<"$scale_button"
    echo "scale: the first button is ${w}x$h at 100 %, ${w1}x$h1 at 150 %"
    within "$h" "$h1" 2 || fail "at 150 % the first button is $h1 pixels tall, not 1.5 times $h"
  else
    echo "scale: the first button draws nothing under the mouse; the bar's height stands for it"
  fi
  for pair in "settings:$settings100:$scale_settings" "layout:$layout100:$scale_layout"; do
    IFS=: read -r what small big <<<"$pair"
    read -r w h <<<"$small"
    read -r w1 h1 <<<"$big"
    # Laid out at the monitor's scale: 1.5 times as large, the window's frame
    # (drawn by the system at its own scale) give or take a few pixels.
    echo "scale: the $what dialog is ${w}x$h at 100 %, ${w1}x$h1 at 150 %"
    within "$w" "$w1" 8 && within "$h" "$h1" 8 ||
      fail "at 150 % the $what dialog is ${w1}x$h1, not 1.5 times ${w}x$h"
  done

  # WM_DPICHANGED from outside: the docked bar takes its thickness for the
  # new scale and docks again; floating, it takes the place suggested.
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  h1=$HEIGHT
  wine "$scale_tool" desktop dpi Tovira 96 || fail "cannot send WM_DPICHANGED"
  wait_bar "[ \"\$HEIGHT\" -lt $((h1 - 4)) ]" || fail "docked, WM_DPICHANGED to 96 left the bar $HEIGHT pixels tall"
  echo "scale: docked, WM_DPICHANGED to 96 DPI: the bar is $HEIGHT pixels tall (was $h1)"
  wine "$scale_tool" desktop dpi Tovira 144 || fail "cannot send WM_DPICHANGED"
  wait_bar "[ \"\$HEIGHT\" -eq $h1 ]" || fail "docked, WM_DPICHANGED back to 144 left the bar $HEIGHT pixels tall"
  bar_menu Down Down Right Up Return  # "Aggancia", "Sblocca" (the last of its sub-menu)
  wait_bar "[ \"\$HEIGHT\" -gt $((3 * h1)) ]" || fail "the menu did not float the bar"
  w=$(((WIDTH * 192 + 72) / 144)) h=$(((HEIGHT * 192 + 72) / 144))
  wine "$scale_tool" desktop dpi Tovira 192 || fail "cannot send WM_DPICHANGED"
  sleep 2
  import -window root "$out/scale-floating-200.png"
  wait_bar "[ \"\$WIDTH\" -eq $w ] && [ \"\$HEIGHT\" -eq $h ]" ||
    fail "floating, WM_DPICHANGED to 192 left the bar ${WIDTH}x$HEIGHT, not the place suggested"
  echo "scale: floating, WM_DPICHANGED to 192 DPI: the bar took the place suggested (${WIDTH}x$HEIGHT)"
  close_bars
  wait_exit $scale_pid 20 || fail "the bar at 150 % did not close"
  wineserver -k
  export WINEPREFIX=$prefix96
  app0=$app96
}
