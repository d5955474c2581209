#!/usr/bin/env bash
# Times a silent apply under Wine: N runs of `wine rampwise.exe /pt FILE 0` against N
# runs of an empty Windows program, in one Wine session on a private X server.
# Usage: bench/silent-apply/run.sh [WINDOWS_BUILD_DIR (build/windows)] [N (20)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$root/build/windows}" && pwd)
runs=${2:-20}
for exe in rampwise.exe rampwise_empty.exe; do
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

# Runs the command N times; writes the milliseconds of each run to FILE, one a line.
time_runs() {
  local file=$1 i start end
  shift
  : >"$file"
  for i in $(seq 1 "$runs"); do
    start=$(date +%s%N)
    "$@" </dev/null >/dev/null 2>&1 || { echo "run failed: $*" >&2; return 1; }
    end=$(date +%s%N)
    awk -v ns=$((end - start)) 'BEGIN { printf "%.3f\n", ns / 1e6 }' >>"$file"
  done
}

# Mean and median of the numbers in FILE.
summary() {
  sort -n "$1" | awk '{ v[NR] = $1; sum += $1 }
    END { median = NR % 2 ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2
          printf "%.1f %.1f\n", sum / NR, median }'
}

cd "$build_dir"
# One run of each first, so that neither side pays for warming the session.
wine rampwise_empty.exe </dev/null >/dev/null 2>&1
wine rampwise.exe /pt "$lut_windows" 0 </dev/null >/dev/null 2>&1

time_runs "$work/apply.ms" wine rampwise.exe /pt "$lut_windows" 0
time_runs "$work/empty.ms" wine rampwise_empty.exe
read -r apply_mean apply_median < <(summary "$work/apply.ms")
read -r empty_mean empty_median < <(summary "$work/empty.ms")

echo "runs each:                       $runs"
printf '%-32s mean %8.1f ms  median %8.1f ms\n' "rampwise.exe /pt FILE 0:" "$apply_mean" "$apply_median"
printf '%-32s mean %8.1f ms  median %8.1f ms\n' "rampwise_empty.exe:" "$empty_mean" "$empty_median"
awk -v a="$apply_mean" -v b="$empty_mean" -v c="$apply_median" -v d="$empty_median" \
  'BEGIN { printf "ratio (rampwise / empty):        mean %.2f  median %.2f\n", a / b, c / d }'
