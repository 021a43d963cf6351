# Steps of bar_under_wine.sh on the desktop changing under a running bar,
# with its window in `bar`, its process in `pid` (started at `bar_started`)
# and the installed copy in `app0`, driven from outside by `tovira-tool
# desktop` as Windows drives it: the shell restarts (the bar registers again, in its place), the display
# changes under a stale rectangle (the bar docks across the screen again),
# and after docking to the left from the bar's menu the session ends without
# closing the bar: the next start is docked on the left. The bar is docked
# at the top again at the end.

desktop_tool="$build/win/tovira-tool.exe"

bar_geometry() { eval "$(xdotool getwindowgeometry --shell "$bar")"; echo "$X $Y $WIDTH $HEIGHT"; }
# wait_bar CONDITION: up to 10 s for the bar's X, Y, WIDTH and HEIGHT to
# satisfy the condition; they stay set for the caller's message.
wait_bar() {
  local i
  for ((i = 0; i < 20; i++)); do
    read -r X Y WIDTH HEIGHT <<<"$(bar_geometry)"
    eval "$1" && return 0
    sleep 0.5
  done
  return 1
}

desktop_changes() {
  local before after screen_w
  screen_w=$(xdpyinfo | awk '/dimensions:/ {split($2, d, "x"); print d[1]}')
  before=$(bar_geometry)
  wine "$desktop_tool" desktop shell-restart Tovira || fail "the bar did not register again after the shell restarted"
  sleep 1
  after=$(bar_geometry)
  [ "$after" = "$before" ] || fail "after the shell restarted the bar moved from $before to $after"
  echo "desktop: the shell restarted, the bar registered again in its place ($after)"

  wine "$desktop_tool" desktop display Tovira || fail "cannot send the display's notice"
  wait_bar '[ "$WIDTH" -eq "$screen_w" ]' ||
    fail "after the display's notice the bar is $WIDTH pixels wide, not $screen_w"
  echo "desktop: a stale rectangle and the display's notice: docked across the screen again"

  # "Aggancia" (second item), "A sinistra" (third of its sub-menu).
  bar_menu Down Down Right Down Down Return
  wait_bar '[ "$X" -eq 0 ] && [ "$HEIGHT" -gt "$WIDTH" ]' ||
    fail "the menu did not dock the bar on the left ($X $Y $WIDTH $HEIGHT)"
  import -window root "$out/docked-left.png"
  wine "$desktop_tool" desktop end-session Tovira || fail "the session could not end"
  wait_exit $pid 20 || fail "the bar's process is still there after the session ended"
  wine "$app0/tovira.exe" &
  pid=$! bar_started=$SECONDS
  bar=$(wait_window "^Tovira$" 90) || fail "the bar did not start after the session ended"
  wait_bar '[ "$X" -eq 0 ] && [ "$HEIGHT" -gt "$WIDTH" ]' ||
    fail "after the session ended the next start is not docked on the left ($X $Y $WIDTH $HEIGHT)"
  import -window root "$out/left-after-session.png"
  echo "desktop: docked on the left from the menu, the session ended: the next start is on the left"

  # "Aggancia", "In alto": back where the steps after these expect it. The
  # bar's empty part is at the bottom of a bar on the left.
  eval "$(xdotool getwindowgeometry --shell "$bar")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 40)) click 3
  sleep 1
  xdotool key --delay 150 Down Down Right Return
  wait_bar '[ "$Y" -eq 0 ] && [ "$WIDTH" -eq "$screen_w" ]' || fail "the menu did not dock the bar at the top again"
}
