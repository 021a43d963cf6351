# Steps of bar_under_wine.sh on a crash, with the running bar's process in
# `pid` and the installed copy in `app0`: an access violation raised in the
# bar from outside (a thread started in it at an invalid address) leaves the
# report text, the minidump and the log entry in the Debug folder and the
# program's crash message; the next start offers the report window, whose
# "Salva" writes an archive that unzip tests.

wintool="$build/win/tovira-tool.exe"
debug_folder() { echo "$(unix_folder '%APPDATA%')/tovira/Debug"; }

crash_the_bar() {
  local debug box
  debug=$(debug_folder)
  wine "$wintool" crash-thread --window Tovira || fail "tovira-tool could not start a thread in the bar"
  box=$(wait_window "^Tovira - Errore$" 30) || fail "no crash message after the access violation"
  sleep 1
  import -window root "$out/crash-message.png"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --window "$box" Return
  wait_exit $pid 30 || fail "the bar did not end after the crash"
  local text="$debug/ExcpCrash.txt"
  [ -s "$text" ] || fail "no crash report in $debug: $(ls "$debug")"
  tr -d '\r' <"$text" >"$out/crash-report.txt"
  grep -q '^Eccezione: 0xC0000005 (violazione di accesso' "$out/crash-report.txt" || fail "the report does not name the access violation"
  grep -q "^Indirizzo: '" "$out/crash-report.txt" || fail "the report has no address"
  grep -q '^App: 1\.' "$out/crash-report.txt" || fail "the report does not describe the program"
  [ "$(head -c 4 "$debug/ExcpCrash.dmp")" = MDMP ] || fail "no minidump"
  local log
  log=$(ls "$debug"/Log_*.log 2>/dev/null | head -1)
  [ -n "$log" ] && grep -q 'Eccezione: 0xC0000005' "$log" || fail "the crash is not in the day's log"
  grep -q ": $(printf -- '-%.0s' {1..80})" "$log" || fail "the log entry does not end with its line of dashes"
  [ -f "$debug/ExcpCrash.new" ] || fail "the crash left no mark for the next start"
  echo "crash: report ($(wc -l <"$out/crash-report.txt") lines), minidump ($(stat -c %s "$debug/ExcpCrash.dmp") bytes), log entry, message"
}

report_after_crash() {
  local debug report dialog
  debug=$(debug_folder)
  wine "$app0/tovira.exe" &
  pid=$!
  # The question comes over the bar: two windows named Tovira.
  local i
  for ((i = 0; i < 120; i++)); do
    [ "$(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null | wc -l)" -ge 2 ] && break
    sleep 0.5
  done
  sleep 1
  import -window root "$out/crash-question.png"
  [ -f "$debug/ExcpCrash.new" ] && fail "the next start did not take the crash's mark"
  # The question is the one of the two that is not docked at the top.
  local box="" id
  for id in $(xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null); do
    eval "$(xdotool getwindowgeometry --shell "$id")"
    [ "$Y" -gt 50 ] && box=$id
  done
  [ -n "$box" ] || fail "no question after the crash"
  xdotool windowfocus --sync "$box" 2>/dev/null
  xdotool key --window "$box" Return # yes, the default
  report=$(wait_window "^Errore nell'applicazione$" 30) || fail "no report window after the question"
  sleep 2
  import -window root "$out/report-window.png"
  eval "$(xdotool getwindowgeometry --shell "$report")"
  xdotool mousemove $((X + 376)) $((Y + 426)) click 1 # "Salva"
  dialog=$(wait_window "^Save As$|^Salva con nome$" 20) || fail "no save dialog after Salva"
  sleep 2
  xdotool windowfocus --sync "$dialog" 2>/dev/null
  xdotool type --delay 50 'C:\rapporto.exc'
  sleep 1
  local saved="$WINEPREFIX/drive_c/rapporto.exc"
  xdotool key Return
  for ((i = 0; i < 20; i++)); do [ -f "$saved" ] && break; sleep 0.5; done
  [ -f "$saved" ] || fail "Salva wrote no archive"
  unzip -t "$saved" >"$out/report-archive.txt" || fail "the saved archive does not pass unzip -t"
  grep -q 'ExcpCrash.txt' "$out/report-archive.txt" && grep -q 'ExcpCrash.dmp' "$out/report-archive.txt" ||
    fail "the archive lacks the report or the minidump: $(cat "$out/report-archive.txt")"
  xdotool windowfocus --sync "$report" 2>/dev/null
  xdotool key --window "$report" Escape
  wait_gone "^Errore nell'applicazione$" 10 || fail "Esc did not close the report window"
  echo "crash: the next start offered the report; Salva wrote an archive unzip tests"
}
