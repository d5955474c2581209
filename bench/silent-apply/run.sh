#!/usr/bin/env bash
# Times a silent apply under Wine: `wine rampwise.exe /pt FILE 0` against the least
# program that sets a ramp (the floor) and an empty Windows program, N runs of each in
# turn, in one Wine session on a private X server. See README.md here.
# Usage: bench/silent-apply/run.sh [WINDOWS_BUILD_DIR (build/windows)] [N (20)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$root/build/windows}" && pwd)
runs=${2:-20}
for exe in rampwise.exe rampwise_floor.exe rampwise_empty.exe; do
  [ -f "$build_dir/$exe" ] || { echo "$build_dir/$exe is missing: build the Windows tree first" >&2; exit 1; }
done

. "$root/scripts/lib/xserver.sh"
. "$root/scripts/lib/wine.sh"
setup_wine_env "$build_dir"

work=$(mktemp -d)
cleanup() { stop_wine_session; stop_private_x; rm -rf "$work"; }
trap cleanup EXIT
start_private_x "$build_dir"
start_wine_session

# A valid LUT file: the identity ramp i * 257 for each channel, little-endian.
lut="$work/identity.lut"
for channel in 1 2 3; do
  for i in $(seq 0 255); do
    printf -v octal '\\%03o' "$i"
    printf "$octal$octal"
  done
done >"$lut"
[ "$(stat -c %s "$lut")" -eq 1536 ] || { echo "the LUT file is not 1536 bytes" >&2; exit 1; }
lut_windows=$(wine winepath -w "$lut" 2>/dev/null | tr -d '\r')

# Milliseconds that one run of the command takes.
time_run() {
  local start end
  start=$(date +%s%N)
  local status=0
  "$@" </dev/null >/dev/null 2>&1 || status=$?
  [ $status -eq 0 ] || { echo "run failed with status $status: $*" >&2; return 1; }
  end=$(date +%s%N)
  awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e6 }'
}

# Mean and median of the numbers in FILE.
summary() {
  sort -n "$1" | awk '{ v[NR] = $1; sum += $1 }
    END { median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%.4f %.4f\n", sum / NR, median }'
}

# The ratio of each line of FILE A to the same line of FILE B, one a line.
pair_ratios() {
  paste "$1" "$2" | awk '{ printf "%.4f\n", $1 / $2 }'
}

cd "$build_dir"
apply=(wine rampwise.exe /pt "$lut_windows" 0)
floor=(wine rampwise_floor.exe)
empty=(wine rampwise_empty.exe)
# Three rounds first, so that none pays for warming the session, which is still
# bringing up its desktop process (and may not yet answer for the display).
for i in 1 2 3; do
  "${apply[@]}" </dev/null >/dev/null 2>&1 || true
  "${floor[@]}" </dev/null >/dev/null 2>&1 || true
  "${empty[@]}" </dev/null >/dev/null 2>&1 || true
done
# The three in turn, so that a machine that slows down or speeds up during the runs
# weighs on each alike; the ratios are taken run by run.
: >"$work/apply.ms"; : >"$work/floor.ms"; : >"$work/empty.ms"
for i in $(seq 1 "$runs"); do
  time_run "${apply[@]}" >>"$work/apply.ms"
  time_run "${floor[@]}" >>"$work/floor.ms"
  time_run "${empty[@]}" >>"$work/empty.ms"
done
pair_ratios "$work/apply.ms" "$work/floor.ms" >"$work/apply-floor.ratio"
pair_ratios "$work/apply.ms" "$work/empty.ms" >"$work/apply-empty.ratio"

echo "runs each, in turn:              $runs"
for line in "rampwise.exe /pt FILE 0:apply" "rampwise_floor.exe (sets a ramp):floor" "rampwise_empty.exe:empty"; do
  read -r mean median < <(summary "$work/${line##*:}.ms")
  printf '%-34s mean %7.1f ms  median %7.1f ms\n' "${line%:*}" "$mean" "$median"
done
read -r _ floor_ratio < <(summary "$work/apply-floor.ratio")
read -r _ empty_ratio < <(summary "$work/apply-empty.ratio")
printf 'ratio rampwise / floor:            median of pairs %.2f\n' "$floor_ratio"
printf 'ratio rampwise / empty:            median of pairs %.2f\n' "$empty_ratio"
