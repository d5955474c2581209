#!/usr/bin/env bash
# What an idle keeper costs on Linux: `rampwise /pt FILE 0 /keep` on a private X
# server, left alone for SECONDS; prints its CPU time over that span (user and system,
# from /proc/PID/stat) as a share of one core, and its resident memory (VmRSS, VmHWM).
# See README.md here.
# Usage: bench/keeper/run.sh [PROGRAM (build/bench/rampwise)] [SECONDS (60)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:-$root/build/bench/rampwise}
seconds=${2:-60}
if [ -z "${1:-}" ]; then
  [ -f "$root/build/bench/CMakeCache.txt" ] || cmake --preset bench >/dev/null
  cmake --build --preset bench --target rampwise >/dev/null
fi
[ -x "$program" ] || { echo "$program is missing" >&2; exit 1; }

. "$root/scripts/lib/xserver.sh"
work=$(mktemp -d)
keeper=""
cleanup() {
  [ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true
  stop_private_x
  rm -rf "$work"
}
trap cleanup EXIT
start_private_x "$work"

# A LUT file of half brightness: the level i * 128 in each channel, little-endian.
for channel in 1 2 3; do
  for i in $(seq 0 255); do
    printf -v low '\\%03o' $(((i * 128) & 255))
    printf -v high '\\%03o' $(((i * 128) >> 8))
    printf "$low$high"
  done
done >"$work/half.lut"

mkdir -m 0700 "$work/run"
XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" "$program" /pt "$work/half.lut" 0 /keep &
keeper=$!
sleep 2
kill -0 "$keeper" || { echo "the keeper ended at once" >&2; exit 1; }

# Clock ticks of user and system time: fields 14 and 15, after the name in brackets.
ticks() { sed 's/.*) //' "/proc/$keeper/stat" | awk '{ print $12 + $13 }'; }
hz=$(getconf CLK_TCK)
before=$(ticks)
start=$(date +%s%N)
sleep "$seconds"
after=$(ticks)
end=$(date +%s%N)
elapsed_ms=$(((end - start) / 1000000))
cpu_ms=$(((after - before) * 1000 / hz))

echo "idle keeper over ${elapsed_ms} ms:"
awk -v cpu="$cpu_ms" -v wall="$elapsed_ms" \
  'BEGIN { printf "  CPU time:        %d ms (%.3f%% of one core; target below 0.1%%)\n", cpu, 100 * cpu / wall }'
grep -E '^(VmRSS|VmHWM)' "/proc/$keeper/status" | awk '{ printf "  %-16s %s %s (target below 4 MB)\n", $1, $2, $3 }'
kill "$keeper"
wait "$keeper" || true
keeper=""
