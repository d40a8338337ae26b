#!/bin/sh
# The command line of the Windows program under Wine against the Linux
# program's, on every model of data/: the same exit status and messages, the
# same bytes for `--subdivide 1 --save`, the same `--stats` text, and the same
# `--save-uv` file with every (u,v) within 1e-9 (the two builds' solvers may
# round differently in the last bits). Standard output and error are compared
# with the Windows line ends (CR LF, the C runtime's text mode) made LF.
# Usage: tests/windows/cli_compare.sh LINUX_BUILD WINDOWS_BUILD
set -u
here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/../.." && pwd)
linux_exe=$(cd "${1:?Linux build folder}" && pwd)/platform/qt/vormelin
windows_exe=$(cd "${2:?Windows build folder}" && pwd)/platform/win32/vormelin.exe
work=$(mktemp -d)
export WINEPREFIX="${WINEPREFIX:-$work/prefix}" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# The folder goes once Wine's server for the prefix has ended (it lingers a few seconds).
trap 'timeout 60 wineserver -w; rm -rf "$work"' EXIT
timeout 180 wineboot -i >/dev/null 2>&1 || { echo "wineboot -i failed or took over 180 s"; exit 1; }
failures=0
fail() { echo "ÉCHEC : $*"; failures=$((failures + 1)); }

# run SIDE NAME ARGS...: runs one program in $work/SIDE on the model copy there,
# keeping stdout, stderr and the status as NAME.out, NAME.err, NAME.status.
run() {
  run_side=$1 run_label=$2
  shift 2
  (
    cd "$work/$run_side" || exit 1
    if [ "$run_side" = linux ]; then
      timeout 300 "$linux_exe" "$@" >"$run_label.out" 2>"$run_label.err"
    else
      timeout 300 wine "$windows_exe" "$@" >"$run_label.out" 2>"$run_label.err"
    fi
    echo $? >"$run_label.status"
    tr -d '\r' <"$run_label.out" >"$run_label.out.lf" && tr -d '\r' <"$run_label.err" >"$run_label.err.lf"
  )
}

# same NAME: the two runs gave the same status and texts.
same() {
  for part in status out.lf err.lf; do
    cmp -s "$work/linux/$1.$part" "$work/windows/$1.$part" ||
      fail "$1 : $part diffère ($(head -c 200 "$work/linux/$1.$part") / $(head -c 200 "$work/windows/$1.$part"))"
  done
}

mkdir -p "$work/linux" "$work/windows"
for model in "$source_dir"/data/*.off; do
  name=$(basename "$model" .off)
  cp "$model" "$work/linux/$name.off"
  cp "$model" "$work/windows/$name.off"

  for side in linux windows; do run $side "$name-save" --subdivide 1 --save "${name}_s.off" "$name.off"; done
  same "$name-save"
  if [ -e "$work/linux/${name}_s.off" ]; then
    cmp -s "$work/linux/${name}_s.off" "$work/windows/${name}_s.off" || fail "$name : --subdivide 1 --save diffère"
  else
    fail "$name : le programme Linux n'a pas écrit ${name}_s.off"
  fi

  for side in linux windows; do run $side "$name-stats" --stats "$name.off"; done
  same "$name-stats"
  [ -s "$work/linux/$name-stats.out" ] || fail "$name : --stats n'a rien écrit"

  for side in linux windows; do run $side "$name-uv" --save-uv "${name}_uv.obj" "$name.off"; done
  same "$name-uv"
  if [ -e "$work/linux/${name}_uv.obj" ]; then
    python3 "$here/obj_compare.py" "$work/linux/${name}_uv.obj" "$work/windows/${name}_uv.obj" 1e-9 ||
      fail "$name : --save-uv diffère"
  fi
  echo "$name : comparé"
done

if [ $failures -ne 0 ]; then
  echo "cli_compare : $failures échec(s)"
  exit 1
fi
echo "cli_compare : tout est pareil"
