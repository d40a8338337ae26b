#!/bin/sh
# Runs a command on a private X server managed by openbox, so that the GUI
# tests also meet a real window manager: frames, placement and activation.
# openbox runs with a private home and is ended afterwards whatever happens.
# Exits 77 (skipped) when openbox or xvfb-run is missing.
set -u
if [ "${1:-}" != "--inside" ]; then
  command -v xvfb-run >/dev/null 2>&1 || { echo "xvfb-run missing: skipped"; exit 77; }
  command -v openbox >/dev/null 2>&1 || { echo "openbox missing: skipped"; exit 77; }
  exec xvfb-run -a -s "-screen 0 1280x1024x24" "$0" --inside "$@"
fi
shift
home=$(mktemp -d)
HOME="$home" XDG_CONFIG_HOME="$home/.config" XDG_CACHE_HOME="$home/.cache" \
  openbox --sm-disable --startup "touch $home/ready" >"$home/openbox.log" 2>&1 &
wm=$!
cleanup() {
  kill "$wm" 2>/dev/null
  wait "$wm" 2>/dev/null
  rm -rf "$home"
}
trap cleanup EXIT
trap 'exit 130' INT TERM
# openbox touches the file once it manages the screen; give it ten seconds.
tries=0
while [ ! -e "$home/ready" ]; do
  if ! kill -0 "$wm" 2>/dev/null || [ $tries -ge 100 ]; then
    echo "openbox did not start:"; cat "$home/openbox.log"; exit 1
  fi
  tries=$((tries + 1))
  sleep 0.1
done
"$@"
