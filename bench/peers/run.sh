#!/usr/bin/env bash
# Compares what rampwise and two other loaders, Argyll's dispwin and xcalib, make of the
# same ICC profiles' vcgt curves in a 256-entry CRTC gamma table; what rampwise and
# dispwin make of the same Argyll .cal files, and what dispwin makes of the .cal files
# that rampwise writes; and times the three applying one profile. Runs its own private X server; see bench/PEERS.md.
# Usage: bench/peers/run.sh [RUNS (30)]
set -euo pipefail
root=$(cd "$(dirname "$0")/../.." && pwd)
runs=${1:-30}
tables="$root/bench/peers/tables.py"
rampwise="$root/build/bench/rampwise"
dump="$root/build/host/crtc_gamma_dump"
convert="$root/build/host/lut_convert"
output=DUMMY0

# The peers, the profiles and the timing tool; only what is missing.
packages=(argyll argyll-ref xcalib colord-data x11-xserver-utils x11-utils python3
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
for tool in "$dump" "$convert"; do
  [ -x "$tool" ] || { echo "$tool is missing: build the host tree first (scripts/build)" >&2; exit 1; }
done

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

# --- Calibration files ------------------------------------------------------------------
# synthcal's files of 16 to 4096 rows and the two that argyll-ref ships, each also with
# TV_OUTPUT_ENCODING YES (loaded by dispwin with -E: without it dispwin 2.3.1 ignores
# the keyword in a .cal). Then the ramp rampwise loaded, and three random rising ones,
# written by rampwise as .cal files: dispwin and rampwise must both load them exactly.
echo
echo "== .cal files: CRTC gamma table of $output after rampwise and after dispwin"
echo "   cells: differing entries / 768, max absolute difference (16-bit units)"
echo "   written: the ramp saved as .cal by rampwise, then loaded by each, against that ramp"
echo
cals=()
make_cal() {  # NAME ROWS SYNTHCAL-OPTIONS...
  local name=$1 rows=$2
  shift 2
  synthcal -t d -r "$rows" "$@" "$work/$name" >/dev/null
  cals+=("$work/$name.cal")
}
make_cal c-cool-16 16 -p 1.2,1.2,1.2 -s 0.98,0.96,0.9
make_cal c-gamma1.1-256 256 -p 1.1,1.1,1.1
make_cal c-warm-1024 1024 -p 0.9,1.0,1.2 -s 1,0.95,0.85
make_cal c-dark-4096 4096 -p 2.0,1.8,1.6 -o 0.05,0.02,0
for ref in /usr/share/color/argyll/ref/*.cal; do
  cp "$ref" "$work/ref-$(basename "$ref")"
  cals+=("$work/ref-$(basename "$ref")")
done
for cal in "${cals[@]}"; do
  tv="${cal%.cal}-tv.cal"
  sed 's/^COLOR_REP.*/&\nTV_OUTPUT_ENCODING "YES"/' "$cal" >"$tv"
  cals+=("$tv")
done

cal_worst=0
cal_row='%-22s %-5s %-4s | %-13s | %-15s %-15s\n'
printf "$cal_row" file rows tv "dispwin/ours" "written:dispwin" "written:ours"
note_worst() { local m=${1##* }; [ "$m" -gt "$cal_worst" ] && cal_worst=$m; return 0; }
load_and_dump() {  # LOADER-COMMAND... ; dumps into $loaded
  reset_linear
  "$@" >/dev/null 2>&1 || { echo "failed: $*" >&2; exit 1; }
  "$dump" "$output" >"$loaded"
}
# Saves the ramp of DUMP as a .cal by rampwise, loads that by dispwin and by rampwise,
# and sets by_dispwin and by_ours to the cells of each against the ramp.
written_failures=0
check_written() {  # DUMP NAME
  local ramp=$1 name=$2
  "$tables" to-lut "$ramp" "$work/$name.lut"
  "$convert" "$work/$name.lut" "$work/$name-written.cal"
  loaded="$work/$name.written-dispwin"
  load_and_dump dispwin -d 1 "$work/$name-written.cal"
  by_dispwin=$(cmp_cell "$loaded" "$ramp")
  loaded="$work/$name.written-ours"
  load_and_dump "$rampwise" /pt "$work/$name-written.cal" 0
  by_ours=$(cmp_cell "$loaded" "$ramp")
  written_failures=$((written_failures + ${by_dispwin%%/*} + ${by_ours%%/*}))
}
for cal in "${cals[@]}"; do
  name=$(basename "$cal" .cal)
  rows=$(awk '$1 == "NUMBER_OF_SETS" { print $2; exit }' "$cal")
  flag=()
  tv=no
  if grep -q '^TV_OUTPUT_ENCODING "YES"' "$cal"; then flag=(-E) tv=yes; fi
  loaded="$work/$name.cal-ours"
  load_and_dump "$rampwise" /pt "$cal" 0
  loaded="$work/$name.cal-dispwin"
  load_and_dump dispwin "${flag[@]}" -d 1 "$cal"
  cell=$(cmp_cell "$work/$name.cal-dispwin" "$work/$name.cal-ours")
  note_worst "$cell"
  check_written "$work/$name.cal-ours" "$name"
  printf "$cal_row" "$name" "$rows" "$tv" "$cell" "$by_dispwin" "$by_ours"
done
for seed in 1 2 3; do
  "$tables" rising "$seed" >"$work/rising-$seed.dump"
  check_written "$work/rising-$seed.dump" "rising-$seed"
  printf "$cal_row" "rising-$seed (random)" - - - "$by_dispwin" "$by_ours"
done
echo
echo "Largest difference between dispwin and rampwise on a .cal: $cal_worst (at most 1 expected)."
echo "Entries of the written files that a loader did not load exactly: $written_failures (0 expected)."
[ "$cal_worst" -le 1 ] && [ "$written_failures" -eq 0 ] ||
  { echo "dispwin and rampwise disagree on a .cal file" >&2; exit 1; }

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
