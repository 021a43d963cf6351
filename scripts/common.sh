# Shared by the build scripts: folders and the Windows build under Wine.
top=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TOVIRA_BUILD:-$top/build}
jobs=${TOVIRA_JOBS:-2}

# Where ccache is installed, compilations go through it (CMake reads these when
# a build folder is first configured): a rebuild of unchanged sources is free.
if command -v ccache >/dev/null 2>&1; then
  export CMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}
  export CMAKE_C_COMPILER_LAUNCHER=${CMAKE_C_COMPILER_LAUNCHER:-ccache}
fi

configure_windows() {
  cmake -S "$top" -B "$build/win" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$top/cmake/mingw-w64.cmake" -DTOVIRA_WERROR=ON >/dev/null
}

# A throwaway Wine prefix inside the build folder, made once.
wine_env() {
  export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
  # One user interface language for every run, whatever the machine's: Wine
  # takes it from the locale (English here), and a first start follows it.
  export LANG=C.UTF-8
  unset LC_ALL LC_MESSAGES LANGUAGE
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: preparing $WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w || true
  fi
}
