#!/usr/bin/env bash
# Builds tovira.exe and starts it under Wine on the current display (a
# virtual one when there is none).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$top/scripts/setup.sh"
configure_windows
cmake --build "$build/win" -j "$jobs" --target tovira
wine_env
if [ -n "${DISPLAY:-}" ]; then
  exec wine "$build/win/tovira.exe"
else
  exec xvfb-run -a -s "-screen 0 1280x1024x24" wine "$build/win/tovira.exe"
fi
