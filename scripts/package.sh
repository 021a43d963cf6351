#!/usr/bin/env bash
# Builds the Windows programs and writes the release packages into dist/:
# Tovira-<version>-portable.zip and Tovira-<version>.msi (the version is the
# one project() holds in CMakeLists.txt).
set -euo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/common.sh"
"$top/scripts/setup.sh"
configure_windows
cmake --build "$build/win" -j "$jobs" --target tovira tovira-tool
python3 "$top/packaging/make_packages.py" "$build/win" "${TOVIRA_DIST:-$top/dist}"
