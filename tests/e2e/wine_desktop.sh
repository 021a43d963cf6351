# Shared by the end-to-end scripts: a display of their own, waiting for
# windows and processes, the registry, the packages. Sourced after `out`
# (the script's output folder) and WINEPREFIX are set; `name` names the
# script in its messages.

fail() {
  echo "$name: $*" >&2
  import -window root "$out/failure.png" 2>/dev/null
  exit 1
}

# A display of our own: the server picks a free number and tells it.
start_display() {
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$out/display" >/dev/null 2>&1 &
  xvfb=$!
  trap 'kill $xvfb 2>/dev/null; wineserver -k 2>/dev/null' EXIT
  local i
  for ((i = 0; i < 40; i++)); do [ -s "$out/display" ] && break; sleep 0.25; done
  [ -s "$out/display" ] || { echo "$name: no X server" >&2; exit 1; }
  export DISPLAY=":$(head -1 "$out/display")"
}

wait_window() {  # wait_window NAME SECONDS: prints the window id
  local i id
  for ((i = 0; i < $2 * 4; i++)); do
    id=$(xdotool search --name "$1" 2>/dev/null | head -1)
    [ -n "$id" ] && { echo "$id"; return 0; }
    sleep 0.25
  done
  return 1
}
wait_exit() {  # wait_exit PID SECONDS
  local i
  for ((i = 0; i < $2 * 2; i++)); do kill -0 "$1" 2>/dev/null || return 0; sleep 0.5; done
  return 1
}
reg_query() { wine reg query "$1" 2>/dev/null | tr -d '\r'; }
record() { reg_query "HKCU\\Software\\Brenvoll\\Tovira_$1" | grep REG_BINARY | awk '{print $NF}'; }
# A Windows folder of the prefix as a path of this system.
unix_folder() { winepath -u "$(wine cmd /c echo "$1" 2>/dev/null | tr -d '\r')" 2>/dev/null; }

# The packages scripts/package.sh wrote.
dist=${TOVIRA_DIST:-$top/dist}
package_msi() { ls "$dist"/Tovira-*.msi 2>/dev/null | grep -v portable | head -1; }
package_zip() { ls "$dist"/Tovira-*-portable.zip 2>/dev/null | head -1; }

# Closes every bar as a user does: a click on the bar's empty part makes it
# the active window (Wine does not activate a window for a focus change of X
# alone), then Alt+F4.
close_bars() {
  local i id
  for ((i = 0; i < 10; i++)); do
    id=$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | head -1)
    [ -n "$id" ] || return 0
    eval "$(xdotool getwindowgeometry --shell "$id")"
    # The empty part: the end of a horizontal bar, the foot of a vertical one.
    if ((HEIGHT > WIDTH)); then
      xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT - 50)) click 1
    else
      xdotool mousemove $((X + WIDTH - 100)) $((Y + HEIGHT / 2)) click 1
    fi
    sleep 0.5
    xdotool key alt+F4
    sleep 1
  done
  return 1
}
