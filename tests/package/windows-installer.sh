#!/usr/bin/env bash
# The Windows installer under Wine (in WINEPREFIX, with a Wine session and DISPLAY):
# a silent install gives a program that applies a LUT file, a Start-menu shortcut, an
# uninstall entry and a README.txt for users; an update starts again the keepers that
# the user's log-on entries start; a silent uninstall changes nothing while the window
# is open, else takes them away with the current user's log-on entries that start the
# installed program, and leaves every other entry.
set -uo pipefail
cd "$(dirname "$0")/../.."
. tests/package/lib.sh
setup=$(ls build/dist/rampwise-*-setup.exe) || exit 1
version=${setup##*/rampwise-}
version=${version%-setup.exe}
run_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
all_users_run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Rampwise'
folder() { wine cmd /c echo "%$1%" 2>/dev/null | tr -d '\r'; }
unix() { winepath -u "$1" 2>/dev/null; }
value() { wine reg query "$1" /v "$2" 2>/dev/null | tr -d '\r' | sed -n "s/^ *$2 *REG_[A-Z_]* *//p"; }
set_value() { wine reg add "$1" /v "$2" /d "$3" /f >/dev/null 2>&1; }
absent() { ! wine reg query "$1" ${2:+/v "$2"} >/dev/null 2>&1; }
user_readme() {
  grep -q '^## Download and install' "$1" && ! grep -Eq '^## (Two commands|Building on Windows|More for developers)|!\[' "$1" &&
    [ "$(grep -c $'\r$' "$1")" -eq "$(wc -l <"$1")" ]
}
# The keepers' /status lines up to their start time: a keeper started again differs.
keeper_status() { wine "$folder_unix/rampwise.exe" /status 2>/dev/null | tr -d '\r' | cut -d';' -f1 | grep .; }
eventually() { for i in $(seq 1 40); do "$@" >/dev/null 2>&1 && return; sleep 0.5; done; "$@"; }

program=$(folder LOCALAPPDATA)'\Programs\Rampwise\rampwise.exe'
folder_unix=$(dirname "$(unix "$program")")
shortcut=$(unix "$(folder APPDATA)"'\Microsoft\Windows\Start Menu\Programs\Rampwise.lnk')
lut=$(mktemp --suffix=.lut)
write_identity_lut "$lut"

check "the installer runs silently" wine "$setup" /S
check "the program is installed" [ -f "$folder_unix/rampwise.exe" -a -f "$folder_unix/uninstall.exe" ]
check "the installed program applies a LUT file" wine "$folder_unix/rampwise.exe" /pt "$(winepath -w "$lut")" 0
check "the Start menu has a shortcut" [ -f "$shortcut" ]
check "the uninstall entry names the version" [ "$(value "$uninstall_key" DisplayVersion)" = "$version" ]
check "README.txt is the user's part of the README, in CRLF lines" user_readme "$folder_unix/README.txt"

# An update while the program's window is open changes nothing and says so by its status.
set_value "$uninstall_key" DisplayVersion 0.0
wine "$folder_unix/rampwise.exe" & window=$!
sleep 3
check "an update over the open window fails" sh -c "! wine '$setup' /S"
check "and records no version" [ "$(value "$uninstall_key" DisplayVersion)" = 0.0 ]
kill $window; wait $window 2>/dev/null
check "the update runs once the window is closed" wine "$setup" /S

# An update ends the keepers and starts again those of the log-on entries with /keep.
# The installer's output goes to a file: a keeper it starts would hold a pipe open.
curve=$(mktemp --suffix=.lut)
printf "$(awk 'BEGIN { for (c = 0; c < 768; c++) { v = int(255 * ((c % 256) / 255) ^ 1.6 + 0.5)
                         printf "\\x%02x\\x%02x", v, v } }')" >"$curve"
keep_entry="\"$program\" /pt \"$(winepath -w "$curve")\" 0 /keep"
set_value "$run_key" Rampwise "$keep_entry"
wine "$folder_unix/rampwise.exe" /pt "$(winepath -w "$curve")" 0 /keep >/dev/null 2>&1 &
eventually keeper_status
before=$(keeper_status)
wine "$setup" /S >/dev/null 2>&1
check "an update over a keeper runs" [ $? -eq 0 ]
restarted() { local now; now=$(keeper_status) && [ "$now" != "$before" ]; }
check "the keeper runs again after it" eventually restarted
# An outside reset of the ramp, as a game would make: the keeper puts the curve back.
reset=$(mktemp)
c++ -O1 -o "$reset" tools/VidModeGammaReset.cpp -lXxf86vm -lX11 && "$reset"
check "and keeps the ramp" eventually wine "$folder_unix/rampwise.exe" /verify "$(winepath -w "$curve")" 0

# A silent uninstall while the window is open changes nothing, the keeper included
# (run in place, it reports its status).
wine "$folder_unix/rampwise.exe" & window=$!
sleep 3
kept=$(keeper_status)
check "an uninstall with the window open fails" sh -c "! wine '$folder_unix/uninstall.exe' /S '_?=$(winepath -w "$folder_unix")'"
check "and leaves the files, the entries and the keeper" [ -f "$folder_unix/rampwise.exe" -a -f "$folder_unix/uninstall.exe" \
  -a -n "$(value "$uninstall_key" DisplayVersion)" -a "$(value "$run_key" Rampwise)" = "$keep_entry" -a \
  -n "$kept" -a "$(keeper_status)" = "$kept" ]
kill $window; wait $window 2>/dev/null

# Two entries that start the installed program (the second named in other letter
# case), one of another copy, one of another program, one of all users.
set_value "$run_key" Rampwise "\"$program\" /pt \"C:\\cal.icm\" 0"
set_value "$run_key" Rampwise_2 "\"${program,,}\" /pt @default 2"
set_value "$run_key" Rampwise_1 '"C:\Tools\rampwise.exe" /pt "C:\cal.icm" 1'
set_value "$run_key" RampwiseTest "\"$program\" /pt \"C:\\cal.icm\" 0"
set_value "$all_users_run_key" Rampwise "\"$program\" /pt \"C:\\cal.icm\" 0"

check "the uninstaller runs silently" wine "$folder_unix/uninstall.exe" /S
# The uninstaller goes on in a copy of itself; the uninstall entry goes last.
for i in $(seq 1 60); do absent "$uninstall_key" && break; sleep 0.5; done
check "the uninstall entry is gone" absent "$uninstall_key"
check "the program's folder is gone" [ ! -e "$folder_unix" ]
check "the shortcut is gone" [ ! -e "$shortcut" ]
check "the entries that start the installed program are gone" \
  sh -c "! wine reg query '$run_key' 2>/dev/null | grep -Eiq '^ *Rampwise(_2)? '"
check "every other entry is left" [ -n "$(value "$run_key" Rampwise_1)" -a \
  -n "$(value "$run_key" RampwiseTest)" -a -n "$(value "$all_users_run_key" Rampwise)" ]
for name in Rampwise_1 RampwiseTest; do wine reg delete "$run_key" /v "$name" /f >/dev/null 2>&1; done
wine reg delete "$all_users_run_key" /v Rampwise /f >/dev/null 2>&1
rm -f "$lut" "$curve" "$reset"
[ $failures -eq 0 ]
