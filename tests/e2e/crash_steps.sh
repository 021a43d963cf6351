# Steps of bar_under_wine.sh on a crash, with the running bar's process in
# `pid`, started at `bar_started` (bash's SECONDS), and the installed copy in
# `app0`. An access violation raised in the bar from outside (a thread
# started in it at an invalid address) ends the bar and leaves the report
# text, the minidump and the log entry in the Debug folder; the process the
# handler starts ("tovira.exe /crashed ...") starts a new bar by itself and
# offers the report window, whose "Salva" writes an archive that unzip
# tests. The new bar crashed at once (within a minute of its start) is not
# started again: the user is only told.

wintool="$build/win/tovira-tool.exe"
debug_folder() { echo "$(unix_folder '%APPDATA%')/tovira/Debug"; }
bar_windows() { xdotool search --onlyvisible --name '^Tovira$' 2>/dev/null; }


check_crash_files() {
  local debug text log
  debug=$(debug_folder)
  text="$debug/ExcpCrash.txt"
  [ -s "$text" ] || fail "no crash report in $debug: $(ls "$debug")"
  tr -d '\r' <"$text" >"$out/crash-report.txt"
  grep -q '^Eccezione: 0xC0000005 (violazione di accesso' "$out/crash-report.txt" || fail "the report does not name the access violation"
  grep -q "^Indirizzo: '" "$out/crash-report.txt" || fail "the report has no address"
  grep -q '^App: 1\.' "$out/crash-report.txt" || fail "the report does not describe the program"
  [ "$(head -c 4 "$debug/ExcpCrash.dmp")" = MDMP ] || fail "no minidump"
  log=$(ls -t "$debug"/Log_*.log 2>/dev/null | head -1)  # the newest: a run may pass midnight
  [ -n "$log" ] && grep -q 'Eccezione: 0xC0000005' "$log" || fail "the crash is not in the day's log"
  grep -q ": $(printf -- '-%.0s' {1..80})" "$log" || fail "the log entry does not end with its line of dashes"
  # The process after the crash took the mark: the new bar does not ask again.
  [ -f "$debug/ExcpCrash.new" ] && fail "the process after the crash left the mark for the next start"
  echo "crash: report ($(wc -l <"$out/crash-report.txt") lines), minidump ($(stat -c %s "$debug/ExcpCrash.dmp") bytes), log entry"
}

# Yes on the crash message: the report window opens. The new bar may have
# come up after the message and taken the activation: a click on the
# message's text makes it the active window again (Wine does not activate a
# window for a focus change of X alone), then Enter presses the default.
answer_yes() {  # answer_yes BOX
  eval "$(xdotool getwindowgeometry --shell "$1")"
  xdotool mousemove $((X + WIDTH / 2)) $((Y + 12)) click 1
  sleep 0.5
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Return # yes, the default
}

close_report() {  # close_report WINDOW
  xdotool windowfocus --sync "$1" 2>/dev/null
  xdotool key Escape
  wait_gone "^Errore nell'applicazione$" 10 || fail "Esc did not close the report window"
  wait_gone "^Tovira - Errore$" 10 || fail "the crash message stayed"
}

crash_the_bar() {
  local old box report dialog new i
  old=$(bar_windows | head -1)
  # Crashed after a minute of running: the bar is started again.
  i=$((bar_started + 62 - SECONDS))
  ((i > 0)) && sleep $i
  wine "$wintool" crash-thread --window Tovira || fail "tovira-tool could not start a thread in the bar"
  # The crashed process shows nothing and ends by itself, once its files
  # (the minidump takes a while) are written.
  wait_exit $pid 120 || fail "the bar did not end after the crash"
  box=$(wait_window "^Tovira - Errore$" 120) || fail "no crash message after the access violation"
  # A new bar appears by itself.
  for ((i = 0; i < 120; i++)); do
    new=$(bar_windows | head -1)
    [ -n "$new" ] && [ "$new" != "$old" ] && break
    new=""
    sleep 0.5
  done
  [ -n "$new" ] || fail "no new bar after the crash"
  sleep 2
  import -window root "$out/crash-message.png"
  check_crash_files
  answer_yes "$box"
  report=$(wait_window "^Errore nell'applicazione$" 30) || fail "no report window after the crash message"
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
  close_report "$report"
  [ "$(bar_windows | wc -l)" -eq 1 ] || fail "not one bar after the crash: $(bar_windows | wc -l)"
  echo "crash: the bar crashed from outside came back by itself; the report was offered; Salva wrote an archive unzip tests"
}

# A bar crashes within a minute of its start: it is not started again. The
# bar the crash started again may be a minute old by now on a busy machine,
# so a bar started here crashes, a few seconds old whatever the load.
crash_within_a_minute() {
  local box report i
  close_bars || fail "the bar started again after the crash did not close"
  wine "$app0/tovira.exe" &
  pid=$!
  wait_window "^Tovira$" 90 >/dev/null || fail "no bar to crash within its first minute"
  sleep 2
  [ "$(bar_windows | wc -l)" -eq 1 ] || fail "not one bar to crash within its first minute"
  rm -f "$(debug_folder)/ExcpCrash.txt"
  wine "$wintool" crash-thread --window Tovira || fail "tovira-tool could not start a thread in the new bar"
  box=$(wait_window "^Tovira - Errore$" 120) || fail "no crash message after the access violation"
  for ((i = 0; i < 20; i++)); do [ -z "$(bar_windows)" ] && break; sleep 0.5; done
  # Any restart would come before the message: none comes after it either.
  sleep 5
  import -window root "$out/crash-too-soon.png"
  [ -z "$(bar_windows)" ] || fail "a bar that crashed within a minute was started again"
  [ -s "$(debug_folder)/ExcpCrash.txt" ] || fail "no report of the second crash"
  answer_yes "$box"
  report=$(wait_window "^Errore nell'applicazione$" 30) || fail "no report window after the crash message"
  close_report "$report"
  [ -z "$(bar_windows)" ] || fail "a bar appeared after the report"
  echo "crash: a bar that crashed within a minute of its start was only told of"
}
