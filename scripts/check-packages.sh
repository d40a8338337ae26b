#!/usr/bin/env bash
# Checks the Debian package made from a build folder (default build/release,
# reused as it stands: only what the install takes is built):
#   1. scripts/package.sh makes vormelin_<version>_amd64.deb
#   2. its files, unpacked into a throwaway root, are where the desktop looks
#      for them (desktop entry, icons, file type, manual pages, documents)
#   3. the unpacked programs run: --version, a conversion, and the viewer's
#      --help names the help page it found from its own folder in that root
#   4. lintian: any error fails the check, warnings are listed
#   5. dpkg -i then dpkg -P on this machine, when that is safe (the package
#      not installed and none of its files present), and nothing left after
# Set VORMELIN_CHECK_NO_INSTALL=1 to skip step 5.
# Usage: scripts/check-packages.sh [BUILD_FOLDER]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build/release}
started=$(date +%s)

fail() { echo "check-packages: $*" >&2; exit 1; }
step() { echo "== $*"; }

sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
missing=()
for p in lintian dpkg-dev desktop-file-utils shared-mime-info file man-db; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get update -qq
  $sudo env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

step "package"
deb=$(scripts/package.sh "$build" | grep '\.deb$') || fail "scripts/package.sh made no .deb"
echo "$deb"
version=$(dpkg-deb -f "$deb" Version)
upstream=${version%-*}
[ "$(basename "$deb")" = "vormelin_${version}_amd64.deb" ] || fail "unexpected file name $(basename "$deb")"
echo "Depends: $(dpkg-deb -f "$deb" Depends)"
dpkg-deb -f "$deb" Depends | grep -q 'libqt6widgets6' || fail "the dependencies lack Qt: shlibdeps did not run?"

root=$(mktemp -d /tmp/vormelin-deb.XXXXXX)
trap 'rm -rf "$root"' EXIT
dpkg -x "$deb" "$root"

step "files in place"
need() { [ -f "$root/$1" ] || fail "missing from the package: /$1"; }
for f in usr/bin/vormelin usr/bin/offconvert; do
  need $f
  [ -x "$root/$f" ] || fail "/$f is not executable"
  file -b "$root/$f" | grep -q ', stripped' || fail "/$f is not stripped"
done
need usr/share/vormelin/aide.html
need usr/share/doc/vormelin/copyright
need usr/share/doc/vormelin/changelog.Debian.gz
desktop=usr/share/applications/vormelin.desktop
need $desktop
desktop-file-validate "$root/$desktop" || fail "desktop-file-validate refuses /$desktop"
exec_name=$(sed -n 's/^Exec=\([^ ]*\).*/\1/p' "$root/$desktop")
[ -f "$root/usr/bin/$exec_name" ] || fail "the desktop entry runs $exec_name, not in /usr/bin"
icon=$(sed -n 's/^Icon=//p' "$root/$desktop")
for size in 16 22 24 32 48 64 128; do
  png=usr/share/icons/hicolor/${size}x${size}/apps/$icon.png
  need "$png"
  file -b "$root/$png" | grep -q "PNG image data, $size x $size," || fail "/$png is not a $size-pixel PNG"
done
need usr/share/mime/packages/vormelin.xml
# The file type as the desktop's database reads it: our file alone, compiled
# into a copy of the folder; the desktop entry must name that type.
mime=$(mktemp -d /tmp/vormelin-mime.XXXXXX)
cp -r "$root/usr/share/mime/packages" "$mime/"
update-mime-database "$mime" >/dev/null 2>&1 || { rm -rf "$mime"; fail "update-mime-database refuses vormelin.xml"; }
type=$(sed -n 's/^[0-9]*:\([^:]*\):\*\.off$/\1/p' "$mime/globs2")
rm -rf "$mime"
[ -n "$type" ] || fail "vormelin.xml gives no type to *.off"
grep -q "^MimeType=.*$type;" "$root/$desktop" || fail "the desktop entry does not open $type"
for program in vormelin offconvert; do
  page=usr/share/man/man1/$program.1.gz
  need "$page"
  gzip -t "$root/$page" || fail "/$page is no gzip file"
  warnings=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -E UTF-8 -l "$root/$page" 2>&1 >/dev/null)
  [ -z "$warnings" ] || fail "man warns about /$page: $warnings"
done
echo "programs, help page, desktop entry ($type), icons, manual pages, documents"

step "unpacked programs"
run() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=absent "$@"; }
printed=$(run "$root/usr/bin/vormelin" --version) || fail "vormelin --version failed"
[ "$printed" = "Vormelin $upstream" ] || fail "vormelin --version printed '$printed', not 'Vormelin $upstream'"
printed=$(run "$root/usr/bin/offconvert" --version) || fail "offconvert --version failed"
[ "$printed" = "offconvert $upstream" ] || fail "offconvert --version printed '$printed'"
# offconvert --help comes with the converter's own usage text; before it, the
# argument is taken as an input file.
if grep -q '"--help"' tools/offconvert/main.cpp; then
  run "$root/usr/bin/offconvert" --help >/dev/null || fail "offconvert --help failed"
fi
work=$(mktemp -d /tmp/vormelin-convert.XXXXXX)
printf '3 1\n0 0 0\n1 0 0\n0 1 0\n3 0 1 2\n' >"$work/triangle.mesh"
run "$root/usr/bin/offconvert" "$work/triangle.mesh" || { rm -rf "$work"; fail "offconvert failed on a valid input"; }
head -n 1 "$work/triangle.off" | grep -qx OFF || { rm -rf "$work"; fail "offconvert wrote no OFF file"; }
rm -rf "$work"
# The viewer looks for its page next to itself, then in ../share/vormelin:
# unpacked, only the second place holds it.
printed=$(run "$root/usr/bin/vormelin" --help) || fail "vormelin --help failed"
grep -qxF "Page d'aide complète : $root/usr/share/vormelin/aide.html" <<<"$printed" ||
  fail "the unpacked viewer does not find its help page: $(tail -n 1 <<<"$printed")"
echo "vormelin $upstream, offconvert $upstream, help page found in usr/share/vormelin"

step "lintian"
report=$(lintian --tag-display-limit 0 --display-info "$deb" 2>&1 | grep -v '^running with root privileges' || true)
[ -n "$report" ] && echo "$report"
errors=$(grep -c '^E: ' <<<"$report" || true)
warnings=$(grep -c '^W: ' <<<"$report" || true)
echo "lintian: $errors errors, $warnings warnings"
[ "$errors" -eq 0 ] || fail "lintian reports errors"

step "install and purge with dpkg"
if [ -n "${VORMELIN_CHECK_NO_INSTALL:-}" ]; then
  echo "skipped (VORMELIN_CHECK_NO_INSTALL)"
elif [ -n "$sudo" ] && ! sudo -n true 2>/dev/null; then
  echo "skipped: needs root"
elif dpkg-query -W -f='${Status}' vormelin 2>/dev/null | grep -q 'installed'; then
  echo "skipped: a vormelin package is installed on this machine; it stays as it is"
else
  mapfile -t files < <(dpkg-deb --fsys-tarfile "$deb" | tar -t | grep -v '/$' | sed 's|^\./|/|')
  present=()
  for f in "${files[@]}"; do [ -e "$f" ] && present+=("$f"); done
  if [ ${#present[@]} -gt 0 ]; then
    echo "skipped: files of the package already on this machine: ${present[*]}"
  else
    $sudo dpkg -i "$deb" >/dev/null || {
      $sudo dpkg -P vormelin >/dev/null 2>&1 || true
      fail "dpkg -i failed (dependencies missing?); the package was purged"
    }
    printed=$(run /usr/bin/vormelin --help | tail -n 1) || printed="vormelin --help failed"
    $sudo dpkg -P vormelin >/dev/null || fail "dpkg -P vormelin failed"
    [ "$printed" = "Page d'aide complète : /usr/share/vormelin/aide.html" ] ||
      fail "the installed viewer does not find its help page: $printed"
    left=()
    for f in "${files[@]}"; do [ -e "$f" ] && left+=("$f"); done
    for d in /usr/share/vormelin /usr/share/doc/vormelin; do [ -e "$d" ] && left+=("$d"); done
    [ ${#left[@]} -eq 0 ] || fail "left after dpkg -P: ${left[*]}"
    echo "installed (help page found at /usr/share/vormelin/aide.html), purged, nothing left"
  fi
fi
echo "Package check passed: $(basename "$deb") in $(($(date +%s) - started)) s"
