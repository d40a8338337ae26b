#!/usr/bin/env bash
# Makes the Windows packages from a Windows build folder (cpack: the NSIS
# installer and the ZIP) and tries the installer under Wine, in a throwaway
# prefix: silent install, the installed files, Start menu entries and
# registry keys, the installed offconvert.exe (--version and a conversion)
# and vormelin.exe (--version),
# silent uninstall, and nothing left behind.
# Usage: scripts/check-windows-installer.sh BUILD_FOLDER   (e.g. build/windows)
# Every Wine step is bounded; a step that runs out of time fails the check.
set -euo pipefail

build=${1:?usage: scripts/check-windows-installer.sh BUILD_FOLDER}
build=$(cd "$build" && pwd)

missing=()
for p in nsis wine wine64 xvfb xauth unzip; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  sudo=""
  [ "$(id -u)" -ne 0 ] && sudo="sudo"
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

# Wine wants an X server even for silent installers: run on a private Xvfb.
if [ -z "${DISPLAY:-}" ] && [ -z "${VORMELIN_CHECK_UNDER_XVFB:-}" ]; then
  exec env VORMELIN_CHECK_UNDER_XVFB=1 timeout 900 xvfb-run -a "$0" "$build"
fi

fail() { echo "check-windows-installer: $*" >&2; exit 1; }
step() { echo "== $*"; }

step "packages (scripts/package.sh: cpack, NSIS and ZIP) in $build"
made=$(timeout 900 "$(dirname "$0")/package.sh" "$build") || fail "scripts/package.sh $build failed"
echo "$made"
installer=$(grep -- '-win64\.exe$' <<<"$made") || fail "no installer made: is $build a Windows build?"
zip=$(grep -- '-win64\.zip$' <<<"$made") || fail "no ZIP made"
version=$(basename "$installer" | sed -E 's/^Vormelin-(.*)-win64\.exe$/\1/')

# What the installer must put in its folder: the ZIP holds the same files.
mapfile -t expected < <(unzip -Z1 "$zip" | grep -v '/$' | sed 's|^[^/]*/||')
printf '%s\n' "${expected[@]}" | grep -qx offconvert.exe || fail "offconvert.exe missing from $zip"
printf '%s\n' "${expected[@]}" | grep -qx aide.html || fail "aide.html missing from $zip"
viewer=no
printf '%s\n' "${expected[@]}" | grep -qx vormelin.exe && viewer=yes
echo "ZIP: ${expected[*]}"

export WINEPREFIX
WINEPREFIX=$(mktemp -d /tmp/vormelin-wine.XXXXXX)
export WINEDEBUG=-all WINEARCH=win64 WINEDLLOVERRIDES="mscoree,mshtml="
cleanup() {
  timeout 30 wineserver -k >/dev/null 2>&1 || true
  rm -rf "$WINEPREFIX"
}
trap cleanup EXIT

wine_run() { # seconds, then the command; its output goes to standard output
  local seconds=$1
  shift
  timeout "$seconds" wine "$@" </dev/null
}
reg_has() { timeout 60 wine reg query "$1" >/dev/null 2>&1 </dev/null; }

step "Wine prefix $WINEPREFIX"
timeout 300 wineboot -i >/dev/null 2>&1 || fail "wineboot did not finish in 300 s"
timeout 60 wineserver -w || fail "wineserver did not settle after wineboot"

folder="$WINEPREFIX/drive_c/Program Files/Vormelin"
menu="$WINEPREFIX/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/Vormelin"
uninstall_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\Vormelin'

step "silent install"
wine_run 180 "$installer" /S || fail "the installer failed or ran out of time (status $?)"
timeout 60 wineserver -w || fail "Wine processes still running 60 s after the install"
for f in "${expected[@]}" Uninstall.exe; do
  [ -f "$folder/$f" ] || fail "not installed: Program Files/Vormelin/$f"
done
[ -f "$menu/Aide de Vormelin.lnk" ] || fail "no Start menu entry for the help page"
[ -f "$menu/Désinstaller Vormelin.lnk" ] || fail "no Start menu entry for the uninstaller"
reg_has "$uninstall_key" || fail "no entry in the installed programs list"
if [ $viewer = yes ]; then
  [ -f "$menu/Vormelin.lnk" ] || fail "no Start menu entry for the viewer"
  reg_has 'HKLM\Software\Classes\Vormelin.OFF\shell\open\command' || fail "no .off association"
  timeout 60 wine reg query 'HKLM\Software\Classes\.off\OpenWithProgids' </dev/null 2>/dev/null | grep -q Vormelin.OFF ||
    fail ".off files do not list Vormelin among their programs"
fi
echo "installed: $(cd "$folder" && ls | tr '\n' ' ')"

step "installed offconvert.exe"
printed=$(wine_run 60 'C:\Program Files\Vormelin\offconvert.exe' --version | tr -d '\r') ||
  fail "offconvert.exe --version failed"
[ "$printed" = "offconvert $version" ] || fail "offconvert.exe --version printed '$printed', not 'offconvert $version'"
work="$WINEPREFIX/drive_c/users/Public/conversion"
mkdir -p "$work"
printf '3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n' >"$work/triangle.mesh"
(cd "$work" && wine_run 60 'C:\Program Files\Vormelin\offconvert.exe' triangle.mesh) ||
  fail "offconvert.exe failed on a valid input"
expected_off=$'OFF\n 3 1 0\n  0.000000  0.000000  0.000000\n  1.000000  0.000000  0.000000\n  0.000000  1.000000  0.000000\n3 0 1 2'
[ "$(tr -d '\r' <"$work/triangle.off")" = "$expected_off" ] || fail "offconvert.exe wrote a wrong triangle.off"
rm -rf "$work"
echo "offconvert $version, conversion right"

step "installed vormelin.exe"
printed=$(wine_run 60 'C:\Program Files\Vormelin\vormelin.exe' --version | tr -d '\r') ||
  fail "vormelin.exe --version failed"
[ "$printed" = "Vormelin $version" ] || fail "vormelin.exe --version printed '$printed', not 'Vormelin $version'"
echo "Vormelin $version"

step "silent uninstall"
# The uninstaller copies itself to a temporary folder, starts the copy and
# returns at once: wait for the folder to go, then for every Wine process.
wine_run 60 'C:\Program Files\Vormelin\Uninstall.exe' /S || fail "the uninstaller failed to start"
for _ in $(seq 60); do
  [ -e "$folder" ] || break
  sleep 1
done
timeout 60 wineserver -w || fail "Wine processes still running 60 s after the uninstall"
[ ! -e "$folder" ] || fail "Program Files/Vormelin is still there: $(ls "$folder" | tr '\n' ' ')"
[ ! -e "$menu" ] || fail "the Start menu folder is still there"
! reg_has "$uninstall_key" || fail "the installed programs list still names Vormelin"
! reg_has 'HKLM\Software\Classes\Vormelin.OFF' || fail "the .off association is still there"
echo "nothing left"
echo "Windows installer check passed: $(basename "$installer"), $(basename "$zip")"
