#!/usr/bin/env bash
# What an idle keeper costs on Linux: `rampwise /pt FILE 0 /keep` on a private X
# server, with a rule file and at least $PROCESSES (300) processes running, left alone
# for SECONDS; prints its CPU time over that span (of all its threads, from their
# schedstat) as a share of one core, and its resident memory (VmRSS, VmHWM).
# See README.md here.
# With "storm" the span is an event storm instead: another client switches the
# output's mode back and forth as fast as it can, and the count of switches is printed.
# With "latency" SECONDS is a count of outside resets instead: each goes to a keeper
# started afresh (so that it never has cause to give way), at a random moment of its
# one-second rhythm, and the time until the table holds the ramp again is measured;
# prints the median and the 95th percentile.
# Usage: bench/keeper/run.sh [PROGRAM (build/bench/rampwise)] [SECONDS (60)] [storm|latency]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
program=${1:-$root/build/bench/rampwise}
seconds=${2:-60}
storm=${3:-}
if [ -z "${1:-}" ]; then
  [ -f "$root/build/bench/CMakeCache.txt" ] || cmake --preset bench >/dev/null
  cmake --build --preset bench --target rampwise >/dev/null
fi
[ -x "$program" ] || { echo "$program is missing" >&2; exit 1; }

. "$root/scripts/lib/xserver.sh"
work=$(mktemp -d)
keeper=""
sleepers=()
cleanup() {
  [ -z "$keeper" ] || kill "$keeper" 2>/dev/null || true
  [ ${#sleepers[@]} -eq 0 ] || kill "${sleepers[@]}" 2>/dev/null || true
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
if [ "$storm" = latency ]; then
  dump="$root/build/host/crtc_gamma_dump"
  [ -x "$dump" ] || { echo "$dump is missing: run scripts/build" >&2; exit 1; }
  for run in $(seq 1 "$seconds"); do
    XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" "$program" /pt "$work/half.lut" 0 /keep &
    keeper=$!
    sleep 1.5
    kept=$("$dump" DUMMY0)
    sleep "0.$(printf %03d $((RANDOM % 1000)))"
    start=$(date +%s%N)
    xrandr --output DUMMY0 --gamma 1:1:1
    until [ "$("$dump" DUMMY0)" = "$kept" ]; do sleep 0.01; done
    echo $((($(date +%s%N) - start) / 1000000))
    kill "$keeper"
    wait "$keeper" || true
  done | sort -n >"$work/latency"
  keeper=""
  awk '{ ms[NR] = $1 } END { printf "reset to restored ramp over %d resets: median %d ms, 95th percentile %d ms (target at most 1200 ms)\n", NR, ms[int((NR + 1) / 2)], ms[int(NR * 0.95 + 0.999)] }' "$work/latency"
  exit 0
fi
# A rule file as a user would write one, and as many processes as a desktop runs, for
# the keeper to look through at every check.
mkdir -p "$work/config/rampwise"
printf '# players own the ramp while they run\nmpv linear\nvlc linear\nspotread keep\ngame %s\n' "$work/half.lut" \
  >"$work/config/rampwise/rules"
while [ $(ls -d /proc/[0-9]* | wc -l) -lt "${PROCESSES:-300}" ]; do
  sleep 100000 &
  sleepers+=($!)
done
processes=$(ls -d /proc/[0-9]* | wc -l)
XDG_RUNTIME_DIR="$work/run" XDG_STATE_HOME="$work/state" XDG_CONFIG_HOME="$work/config" \
  "$program" /pt "$work/half.lut" 0 /keep &
keeper=$!
sleep 2
kill -0 "$keeper" || { echo "the keeper ended at once" >&2; exit 1; }

# Time on a CPU, of all the keeper's threads (the first field of schedstat, in ns), in µs.
ticks() { cat /proc/$keeper/task/*/schedstat | awk '{ ns += $1 } END { printf "%d", ns / 1000 }'; }
hz=1000000
before=$(ticks)
start=$(date +%s%N)
if [ "$storm" = storm ]; then
  switches=0
  while [ $(($(date +%s%N) - start)) -lt $((seconds * 1000000000)) ]; do
    xrandr --output DUMMY0 --mode 1024x768 && xrandr --output DUMMY0 --mode 1280x1024
    switches=$((switches + 2))
  done
else
  sleep "$seconds"
fi
after=$(ticks)
end=$(date +%s%N)
elapsed_ms=$(((end - start) / 1000000))
cpu_us=$(((after - before) * 1000000 / hz))
cpu_ms=$((cpu_us / 1000))

if [ "$storm" = storm ]; then
  echo "keeper during an event storm of ${switches} mode switches over ${elapsed_ms} ms:"
  target=2
else
  echo "idle keeper over ${elapsed_ms} ms, ${processes} processes to look through:"
  target=0.05
fi
awk -v cpu="$cpu_us" -v wall="$elapsed_ms" -v target="$target" \
  'BEGIN { printf "  CPU time:        %.1f ms (%.4f%% of one core; target below %s%%)\n", cpu / 1000, 100 * cpu / 1000 / wall, target }'
grep -E '^(VmRSS|VmHWM)' "/proc/$keeper/status" | awk '{ printf "  %-16s %s %s (target below 4 MB)\n", $1, $2, $3 }'
kill "$keeper"
wait "$keeper" || true
keeper=""
