#!/bin/sh
# GUI smoke test of the Windows program under Wine, on a private X server with
# a window manager (tests/gui/with_window_manager.sh). Every wait is bounded.
#   1. the model given on the command line opens: the window's title names it;
#   2. a menu command works: "Aide > Pour l'aide" shows its box, Return closes it;
#   3. Escape ends the program with status 0;
#   4. a faulty model given at start shows the fatal box; Return closes it and
#      the program ends with status 255;
#   5. a frame drawn by the program is not blank: --snapshot through the WGL
#      offscreen view (Wine on Xvfb does not show a GL child window's pixels on
#      the screen, so the window itself cannot be read back here).
# Usage: tests/windows/gui_smoke.sh BUILD_DIR   (BUILD_DIR holds platform/win32/vormelin.exe)
set -u
here=$(cd "$(dirname "$0")" && pwd)
if [ "${1:-}" != "--inside" ]; then
  exec "$here/../gui/with_window_manager.sh" "$0" --inside "$@"
fi
shift
build=$(cd "${1:?build folder}" && pwd)
exe="$build/platform/win32/vormelin.exe"
source_dir=$(cd "$here/../.." && pwd)
work=$(mktemp -d)
export WINEPREFIX="${WINEPREFIX:-$work/prefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
failures=0
pid=""
cleanup() {
  [ -n "$pid" ] && kill "$pid" 2>/dev/null
  # Wine's server for the prefix lingers a few seconds after its last program.
  timeout 60 wineserver -w
  rm -rf "$work"
}
trap cleanup EXIT

# A failure, with the windows on the screen to tell what happened.
fail() {
  echo "ÉCHEC : $*"
  echo "  fenêtres : $(xdotool search --name . getwindowname %@ 2>/dev/null | sort -u | tr '\n' '|')"
  failures=$((failures + 1))
}

# Waits (at most $2 seconds) for a window whose name matches the pattern $1; prints its id.
wait_window() {
  tries=0
  while [ $tries -lt $(($2 * 10)) ]; do
    id=$(xdotool search --name "$1" 2>/dev/null | head -n 1)
    if [ -n "$id" ]; then echo "$id"; return 0; fi
    sleep 0.1; tries=$((tries + 1))
  done
  return 1
}

# Waits (at most $1 seconds) for the program started in the background to end; its status in $status.
wait_end() {
  tries=0
  while kill -0 "$pid" 2>/dev/null; do
    if [ $tries -ge $(($1 * 10)) ]; then status=timeout; kill "$pid"; pid=""; return 1; fi
    sleep 0.1; tries=$((tries + 1))
  done
  wait "$pid"; status=$?; pid=""
  return 0
}

# A Wine server still running for the prefix may belong to programs started
# with no display (the unit tests): its desktop would take these windows off
# the X server. Wait for it to end, so that this display gets a server of its own.
timeout 60 wineserver -w || { echo "the prefix's Wine server did not end in 60 s"; exit 1; }
timeout 180 wineboot -i >/dev/null 2>&1 || { echo "wineboot -i failed or took over 180 s"; exit 1; }

cp "$source_dir/data/tore.off" "$work/tore.off"
printf 'OFF\n3 1 0\n0 0 0\n1 0 0\n' > "$work/faulty.off"
model=$(winepath -w "$work/tore.off")
faulty=$(winepath -w "$work/faulty.off")

# 1-3. The model opens, a menu command, Escape.
timeout 120 wine "$exe" "$model" >"$work/out1" 2>&1 &
pid=$!
if win=$(wait_window "^Vormelin 0.35 - modèle affiché : tore.off\$" 60); then
  echo "titre : $(xdotool getwindowname "$win")"
  sleep 1
  # A click on "Aide" in the menu bar (the fifth title, near x 249 of the
  # 640-pixel window), then on its first item just below.
  xdotool mousemove --window "$win" 249 10 click 1
  sleep 1.5
  xdotool mousemove --window "$win" 262 30 click 1
  if box=$(wait_window "^Vormelin 0.35\$" 20); then
    echo "boîte de « Pour l'aide » : ouverte"
    xdotool key --clearmodifiers Return
    tries=0
    while xdotool search --name "^Vormelin 0.35\$" >/dev/null 2>&1 && [ $tries -lt 100 ]; do sleep 0.1; tries=$((tries + 1)); done
    [ $tries -ge 100 ] && fail "la boîte ne se ferme pas avec Entrée"
  else
    fail "le menu Aide > Pour l'aide ne montre pas sa boîte"
  fi
  sleep 0.5
  xdotool key --clearmodifiers Escape
  wait_end 30
  [ "$status" = 0 ] || fail "Échap : statut $status au lieu de 0"
else
  fail "pas de fenêtre « Vormelin 0.35 - modèle affiché : tore.off » en 60 s"
  kill "$pid" 2>/dev/null; pid=""
fi

# 4. The faulty model: the fatal box, then status 255.
timeout 120 wine "$exe" "$faulty" >"$work/out2" 2>&1 &
pid=$!
if box=$(wait_window "^Vormelin 0.35\$" 60); then
  echo "boîte fatale : ouverte"
  sleep 0.5
  xdotool key --clearmodifiers Return
  wait_end 30
  [ "$status" = 255 ] || fail "modèle erroné : statut $status au lieu de 255"
else
  fail "pas de boîte fatale pour le modèle erroné en 60 s"
  kill "$pid" 2>/dev/null; pid=""
fi

# 5. A frame of the model is not blank.
snapshot=$(winepath -w "$work/frame.png")
if timeout 120 wine "$exe" --snapshot "$snapshot" "$model" >"$work/out3" 2>&1; then
  python3 "$here/png_colours.py" "$work/frame.png" 16 || fail "l'image de la vue est vide"
else
  fail "--snapshot a échoué : $(cat "$work/out3")"
fi

if [ $failures -ne 0 ]; then
  echo "gui_smoke : $failures échec(s)"
  exit 1
fi
echo "gui_smoke : tout est bon"
