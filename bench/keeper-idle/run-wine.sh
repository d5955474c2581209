#!/usr/bin/env bash
# The cost of an idle Windows keeper: `rampwise.exe /pt FILE 0 /keep` under Wine on a
# private X server, left alone for SECONDS (60); prints the CPU time its process used
# in that time (user + system, from /proc) as a share of one core, and its resident
# memory. Wine's own server and services are not counted.
# Usage: bench/keeper-idle/run-wine.sh [WINDOWS_BUILD_DIR (build/windows)] [SECONDS (60)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
build_dir=$(cd "${1:-$root/build/windows}" && pwd)
seconds=${2:-60}
[ -f "$build_dir/rampwise.exe" ] || { echo "build the Windows tree first" >&2; exit 1; }

. "$root/scripts/lib/xserver.sh"
. "$root/scripts/lib/wine.sh"
setup_wine_env "$build_dir"
work=$(mktemp -d)
cleanup() { wine "$build_dir/rampwise.exe" /release >/dev/null 2>&1 || true; stop_wine_session; stop_private_x; rm -rf "$work"; }
trap cleanup EXIT
start_private_x "$build_dir"
start_wine_session

# A valid LUT file: the identity ramp.
python3 -c "import struct,sys; sys.stdout.buffer.write(struct.pack('<768H', *[257 * (i % 256) for i in range(768)]))" \
  > "$work/identity.lut"
wine "$build_dir/rampwise.exe" /pt "Z:$work/identity.lut" 0 /keep </dev/null >/dev/null 2>&1 &
sleep 5
pid=$(pgrep -n -f 'rampwise.exe /pt') || { echo "the keeper did not start" >&2; exit 1; }
ticks() { awk '{print $14 + $15}' "/proc/$pid/stat"; }
before=$(ticks)
sleep "$seconds"
after=$(ticks)
hz=$(getconf CLK_TCK)
rss=$(awk '/VmRSS/ {print $2}' "/proc/$pid/status")
awk -v t=$((after - before)) -v hz="$hz" -v s="$seconds" -v rss="$rss" \
  'BEGIN { printf "idle keeper over %d s: %.3f s CPU (%.3f%% of one core), resident %.1f MB\n", s, t / hz, 100 * t / hz / s, rss / 1024 }'
