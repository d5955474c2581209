#!/usr/bin/env bash
# Compares what rampwise and two other loaders, Argyll's dispwin and xcalib, make of the
# same ICC profiles' vcgt curves in a 256-entry CRTC gamma table, and times the three
# applying one profile. Runs its own private X server; see bench/PEERS.md.
# Usage: bench/peers/run.sh [RUNS (30)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-30}
tables="$root/bench/peers/tables.py"
rampwise="$root/build/bench/rampwise"
dump="$root/build/host/crtc_gamma_dump"
output=DUMMY0

# The peers, the profiles and the timing tool; only what is missing.
packages=(argyll xcalib colord-data x11-xserver-utils x11-utils python3
  xserver-xorg-core xserver-xorg-video-dummy libxcb-randr0-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  echo "Installing: ${missing[*]}"
  sudo_cmd=()
  [ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)
  export DEBIAN_FRONTEND=noninteractive
  "${sudo_cmd[@]}" apt-get update -qq
  "${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi

cd "$root"
[ -f build/bench/CMakeCache.txt ] || cmake --preset bench >/dev/null
cmake --build --preset bench --target rampwise >/dev/null
[ -x "$dump" ] || { echo "$dump is missing: build the host tree first (scripts/build)" >&2; exit 1; }

. "$root/scripts/lib/xserver.sh"
work=$(mktemp -d)
cleanup() { stop_private_x; rm -rf "$work"; }
trap cleanup EXIT
start_private_x "$root/build/bench"

# --- Profiles -------------------------------------------------------------------------
# The colord-data profiles that carry a vcgt (ICC v4), then v2 profiles made with Argyll
# from synthetic calibrations of different curves, white points and table sizes, and
# three that differ from one of those only in the form of their vcgt.
profiles=()
for p in /usr/share/color/icc/colord/*.icc; do
  "$tables" info "$p" >/dev/null 2>&1 && profiles+=("$p")
done
[ ${#profiles[@]} -gt 0 ] || { echo "no colord profile with a vcgt found" >&2; exit 1; }

srgb=/usr/share/color/argyll/ref/sRGB.icm
make_argyll() {  # NAME ENTRIES SYNTHCAL-OPTIONS...
  local name=$1 entries=$2
  shift 2
  synthcal -t d -r "$entries" "$@" "$work/$name" >/dev/null
  iccvcgt -i "$srgb" "$work/$name.cal" "$work/$name.icc" >/dev/null
  profiles+=("$work/$name.icc")
}
make_argyll a-gamma1.1-256 256 -p 1.1,1.1,1.1
make_argyll a-warm-1024 1024 -p 0.9,1.0,1.2 -s 1,0.95,0.85
make_argyll a-linear-1000 1000
make_argyll a-cool-cal16 16 -p 1.2,1.2,1.2 -s 0.98,0.96,0.9
timing_profile="$work/a-gamma1.1-256.icc"
# iccvcgt writes the 16-point calibration as a 256-entry table; this one keeps 16 entries.
"$tables" with-table "$timing_profile" "$work/x-cool-16.icc" "$work/a-cool-cal16.cal" 2
"$tables" with-table "$timing_profile" "$work/x-gamma1.1-8bit.icc" "$work/a-gamma1.1-256.cal" 1
"$tables" with-formula "$timing_profile" "$work/x-formula.icc" 1.1 0.02 0.98 1.0 0 0.95 0.9 0 0.9
profiles+=("$work/x-cool-16.icc" "$work/x-gamma1.1-8bit.icc" "$work/x-formula.icc")

# --- Apply and dump -------------------------------------------------------------------
"$tables" identity >"$work/identity"

reset_linear() {
  xrandr --output "$output" --gamma 1:1:1
  "$dump" "$output" >"$work/reset"
  [ "$("$tables" compare "$work/reset" "$work/identity" | cut -d' ' -f1)" = 0 ] ||
    { echo "the CRTC gamma table did not reset to linear" >&2; exit 1; }
}

# "D/768 MAX" for two dumps.
cmp_cell() {
  local d total max
  read -r d total max < <("$tables" compare "$1" "$2")
  printf '%s/%s %s' "$d" "$total" "$max"
}

xcalib_crtc_unchanged=0
xcalib_vidmode_consistent=0
row_format='%-20s %-4s %-11s | %-13s | %-13s %-13s | %-13s %-13s\n'
echo "== CRTC gamma table of $output (256 entries) after each loader, compared entry by entry"
echo "   cells: differing entries / 768, max absolute difference (16-bit units)"
echo "   ref: the profile's vcgt linearly interpolated to 256 entries and rounded"
echo "   xcalib: its computed ramp (xcalib -n 256 -p); see the note below the table"
echo
printf "$row_format" profile icc vcgt "ours vs ref" "dispwin/ours" "xcalib/ours" "dispwin/ref" "xcalib/ref"
for p in "${profiles[@]}"; do
  name=$(basename "$p" .icc)
  read -r version kind _ entries width < <("$tables" info "$p")
  if [ "$kind" = table ]; then vcgt="${entries}x$((width * 8))bit"; else vcgt=formula; fi
  "$tables" reference "$p" >"$work/$name.ref"

  reset_linear
  "$rampwise" /pt "$p" 0 >/dev/null 2>&1 || { echo "rampwise failed on $p" >&2; exit 1; }
  "$dump" "$output" >"$work/$name.ours"

  reset_linear
  if dispwin -d 1 "$p" >"$work/$name.dispwin.log" 2>&1; then
    "$dump" "$output" >"$work/$name.dispwin"
    dispwin_ours=$(cmp_cell "$work/$name.dispwin" "$work/$name.ours")
    dispwin_ref=$(cmp_cell "$work/$name.dispwin" "$work/$name.ref")
  else
    dispwin_ours=refused dispwin_ref=refused
  fi

  reset_linear
  xcalib -d "$DISPLAY" -s 0 "$p" >/dev/null 2>&1 || { echo "xcalib failed on $p" >&2; exit 1; }
  "$dump" "$output" >"$work/$name.xcalib-crtc"
  "$tables" vidmode-ramp >"$work/$name.xcalib-vidmode"
  xcalib -n 256 -p "$p" 2>/dev/null | "$tables" hex-rows >"$work/$name.xcalib"
  [ "$("$tables" compare "$work/$name.xcalib-crtc" "$work/identity" | cut -d' ' -f1)" = 0 ] &&
    xcalib_crtc_unchanged=$((xcalib_crtc_unchanged + 1))
  # The X server keeps XF86VidMode ramps at 8 bits: v >> 8 of each entry, times 257.
  awk '{ for (i = 1; i <= NF; i++) printf "%s%d", (i > 1 ? " " : ""), int($i / 256) * 257; print "" }' \
    "$work/$name.xcalib" >"$work/$name.xcalib-8bit"
  [ "$("$tables" compare "$work/$name.xcalib-vidmode" "$work/$name.xcalib-8bit" | cut -d' ' -f1)" = 0 ] &&
    xcalib_vidmode_consistent=$((xcalib_vidmode_consistent + 1))

  printf "$row_format" "$name" "$version" "$vcgt" "$(cmp_cell "$work/$name.ours" "$work/$name.ref")" \
    "$dispwin_ours" "$(cmp_cell "$work/$name.xcalib" "$work/$name.ours")" \
    "$dispwin_ref" "$(cmp_cell "$work/$name.xcalib" "$work/$name.ref")"
done
echo
echo "xcalib sets the ramp through XF86VidMode. CRTC table of $output left linear by it:" \
  "$xcalib_crtc_unchanged of ${#profiles[@]} profiles;" \
  "its XF86VidMode ramp read back equals its computed ramp at 8 bits: $xcalib_vidmode_consistent of ${#profiles[@]}."

# --- Timing ---------------------------------------------------------------------------
# The three in turn, round after round, so that a machine that slows down or speeds up
# weighs on each alike; each ratio is taken within a round, and the median is shown.
echo
echo "== Time to apply $(basename "$timing_profile") ($runs rounds of the three in turn after 3 warm-up rounds)"
python3 - "$runs" "$rampwise /pt $timing_profile 0" "dispwin -d 1 $timing_profile" \
  "xcalib -d $DISPLAY -s 0 $timing_profile" <<'PY'
import shlex, statistics, subprocess, sys, time
runs = int(sys.argv[1])
loaders = list(zip(("rampwise", "dispwin", "xcalib"), (shlex.split(c) for c in sys.argv[2:])))

def once(argv):
    start = time.perf_counter_ns()
    done = subprocess.run(argv, stdin=subprocess.DEVNULL, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    if done.returncode != 0:
        sys.exit("%s failed" % argv[0])
    return (time.perf_counter_ns() - start) / 1e6

for _ in range(3):
    for _, argv in loaders:
        once(argv)
ms = {name: [] for name, _ in loaders}
for _ in range(runs):
    for name, argv in loaders:
        ms[name].append(once(argv))
print("%-10s %10s %10s %10s %10s %16s" % ("loader", "mean ms", "median ms", "min ms", "max ms",
                                          "median of / ours"))
for name, _ in loaders:
    ratios = [t / o for t, o in zip(ms[name], ms["rampwise"])]
    print("%-10s %10.2f %10.2f %10.2f %10.2f %16.2f" % (name, statistics.mean(ms[name]), statistics.median(ms[name]),
                                                      min(ms[name]), max(ms[name]), statistics.median(ratios)))
PY
