#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (build/fuzz) and runs each one for a
# short while on a copy of its seed corpus (fuzz/corpus/<name>, the target's
# name without _fuzz). Any crash,
# sanitizer report, leak, timeout or broken invariant fails the script; the
# input that caused it is kept under build/fuzz/findings/.
# Usage: scripts/fuzz-smoke.sh [seconds per target, default 60] [target...]
# Needs clang and libclang-rt (scripts/setup.sh installs them); installs nothing.
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${1:-60}
shift || true

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DVORMELIN_FUZZ=ON \
  -DVORMELIN_GUI=OFF -DVORMELIN_TESTS=OFF -DVORMELIN_BENCH=OFF >/dev/null
cmake --build build/fuzz

if [ $# -gt 0 ]; then
  targets=("$@")
else
  targets=()
  for src in fuzz/*_fuzz.cpp; do
    targets+=("$(basename "$src" .cpp)")
  done
fi

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
findings=build/fuzz/findings
mkdir -p "$findings"

# Undefined behaviour stops the run like a memory error does.
export UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}

failed=()
for target in "${targets[@]}"; do
  # Seeds of off_reader_fuzz are in fuzz/corpus/off_reader, and so on.
  seeds="fuzz/corpus/${target%_fuzz}"
  corpus="$work/$target"
  mkdir -p "$corpus"
  if [ -d "$seeds" ]; then
    cp -r "$seeds/." "$corpus/"
  fi
  echo "== $target: ${seconds} s on $(ls "$corpus" | wc -l) seed inputs"
  # Sessions are worth more when long from the start.
  options=()
  case "$target" in
    edit_sequence_fuzz|parameterize_fuzz) options=(-max_len=512 -len_control=0) ;;
  esac
  log="$work/$target.log"
  if build/fuzz/fuzz/"$target" -max_total_time="$seconds" -timeout=30 -rss_limit_mb=2048 "${options[@]}" \
      -print_final_stats=1 -artifact_prefix="$findings/$target-" "$corpus" >"$log" 2>&1; then
    grep -E '^stat::number_of_executed_units|^Done' "$log" || true
  else
    tail -n 60 "$log"
    echo "== $target: FINDING (input kept under $findings/)"
    failed+=("$target")
  fi
done

if [ ${#failed[@]} -gt 0 ]; then
  echo "Fuzz smoke runs failed: ${failed[*]}"
  exit 1
fi
echo "Fuzz smoke runs passed."
