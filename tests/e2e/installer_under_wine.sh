#!/usr/bin/env bash
# The MSI's life in a fresh Wine prefix, as an administrator deploys it and a
# user meets it:
# - `msiexec /i … /qn` installs every file of the package into the user's
#   Programs\Tovira, a Start-menu shortcut to tovira.exe and an entry in the
#   list of installed programs (name, version, publisher);
# - the installed program starts from its folder: the first-start box in the
#   user interface's language, then the bar;
# - a newer version installs over it in place: one entry, the new version,
#   the user's data untouched;
# - `msiexec /x … /qn` removes the program folder, the shortcut and the
#   entry, and keeps the user's data folder.
# Needs the packages of scripts/package.sh. Screenshots land in
# build/e2e-installer/.
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/../../scripts/common.sh"
source "$(dirname "${BASH_SOURCE[0]}")/wine_desktop.sh"
name=installer_under_wine
out="$build/e2e-installer"
rm -rf "$out" && mkdir -p "$out"
export WINEPREFIX="$out/prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
msi=$(package_msi) zip=$(package_zip)
[ -n "$msi" ] && [ -n "$zip" ] || { echo "$name: no packages in $dist: run scripts/package.sh" >&2; exit 1; }
version=$(basename "$msi" .msi)
version=${version#Tovira-}

start_display
wineboot -i >/dev/null 2>&1
wineserver -w

wine msiexec /i "$msi" /qn || fail "msiexec /i $msi /qn failed"
programs="$(unix_folder '%LOCALAPPDATA%')/Programs/Tovira"
userdata="$(unix_folder '%APPDATA%')/tovira"
startmenu="$(unix_folder '%APPDATA%')/Microsoft/Windows/Start Menu/Programs/Tovira.lnk"

# Every file of the package, in its place (the portable zip's start-up store
# is its own).
unzip -Z1 "$zip" | grep -v '/$' | sed 's|^Tovira/||' | grep -vx 'Config/Brenvoll/Tovira.ini' | sort >"$out/package.txt"
(cd "$programs" && find . -type f | sed 's|^\./||' | sort) >"$out/installed.txt"
diff "$out/package.txt" "$out/installed.txt" >&2 || fail "the installed files differ from the package's"
cmp -s "$programs/tovira.exe" <(unzip -p "$zip" Tovira/tovira.exe) || fail "the installed tovira.exe is not the package's"

# The shortcut opens tovira.exe in its folder.
[ -f "$startmenu" ] || fail "no Start-menu shortcut"
lnkinfo "$startmenu" >"$out/shortcut.txt" 2>&1
grep -qi 'Local path.*AppData\\Local\\Programs\\Tovira\\tovira\.exe$' "$out/shortcut.txt" ||
  fail "the Start-menu shortcut does not point at the installed tovira.exe: $(grep -i path "$out/shortcut.txt")"
grep -qi 'Working directory.*Programs\\Tovira\\\?$' "$out/shortcut.txt" || fail "the shortcut does not start in the program folder"

entry() {  # the installed-programs entry of Tovira: its key, or nothing
  wine uninstaller --list 2>/dev/null | tr -d '\r' | grep '|||Tovira$' | cut -d'|' -f1
}
product=$(entry)
[ "$(echo "$product" | grep -c .)" -eq 1 ] || fail "not one entry in the installed programs: '$product'"
arp=$(reg_query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$product")
echo "$arp" | grep -q "DisplayVersion.*REG_SZ.*$version$" || fail "the entry does not show version $version"
echo "$arp" | grep -q "Publisher.*REG_SZ.*Brenvoll" || fail "the entry does not show the publisher"
echo "installed: $version in $(winepath -w "$programs" 2>/dev/null), shortcut and entry $product"

# The installed program, started as the shortcut starts it.
(cd "$programs" && wine ./tovira.exe) &
pid=$!
# The user interface here is English: so is the first start, which then
# shows the bar.
box=$(wait_window "^First start$" 90) || fail "the installed program showed no first-start box"
sleep 1
import -window root "$out/first-start.png"
xdotool windowfocus --sync "$box" 2>/dev/null
xdotool key --window "$box" Return
wait_window "^Tovira$" 90 >/dev/null || fail "the installed program showed no bar"
sleep 3
import -window root "$out/installed-bar.png"
close_bars
wait_exit $pid 20 || fail "the bar did not close"
[ -f "$userdata/ToolbarLinks/ButtonList.lob" ] || fail "no button list in the user data folder"
echo "started: first-start box, then the bar; user data in $(winepath -w "$userdata" 2>/dev/null)"

# A newer version over it: made from the same build with the next version.
next=$(echo "$version" | awk -F. '{printf "%d.%d.%d", $1, $2, $3 + 1}')
mkdir -p "$out/next-build" "$out/next-dist"
cp -r "$build/win/tovira.exe" "$build/win/tovira-tool.exe" "$build/win/Config" "$build/win/Langs" "$out/next-build/"
[ -d "$build/win/pics" ] && cp -r "$build/win/pics" "$out/next-build/"
echo "$next" >"$out/next-build/VERSION"
python3 "$top/packaging/make_packages.py" "$out/next-build" "$out/next-dist" >/dev/null 2>"$out/next-package.log" ||
  fail "cannot make the package of $next"
echo "upgrade" >"$userdata/ToolbarLinks/keep.txt"
wine msiexec /i "$out/next-dist/Tovira-$next.msi" /qn || fail "the upgrade to $next failed"
upgraded=$(entry)
[ "$(echo "$upgraded" | grep -c .)" -eq 1 ] || fail "after the upgrade not one entry: '$upgraded'"
[ "$upgraded" != "$product" ] || fail "the upgrade kept the old product"
reg_query "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\$upgraded" | grep -q "DisplayVersion.*$next$" ||
  fail "the entry does not show $next after the upgrade"
[ -f "$programs/tovira.exe" ] && [ -f "$startmenu" ] || fail "the upgrade lost the program or its shortcut"
[ -f "$userdata/ToolbarLinks/keep.txt" ] && [ -f "$userdata/ToolbarLinks/ButtonList.lob" ] ||
  fail "the upgrade touched the user's data"
echo "upgraded: $version -> $next in place, one entry"

wine msiexec /x "$out/next-dist/Tovira-$next.msi" /qn || fail "msiexec /x /qn failed"
[ ! -e "$programs" ] || fail "the program folder is left after uninstalling: $(ls -A "$programs")"
[ ! -e "$startmenu" ] || fail "the Start-menu shortcut is left after uninstalling"
[ -z "$(entry)" ] || fail "the installed-programs entry is left after uninstalling"
[ -f "$userdata/ToolbarLinks/ButtonList.lob" ] && [ -f "$userdata/ToolbarLinks/keep.txt" ] ||
  fail "uninstalling removed the user's data"
echo "uninstalled: program folder, shortcut and entry gone, user data kept"
echo "$name: ok"
