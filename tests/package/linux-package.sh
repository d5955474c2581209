#!/usr/bin/env bash
# The Debian package: lintian finds no error; installed with dpkg, rampwise runs from
# the PATH against the X server in DISPLAY; removed with dpkg, nothing of it is left.
set -uo pipefail
cd "$(dirname "$0")/../.."
. tests/package/lib.sh
deb=$(ls build/dist/rampwise_*_amd64.deb) || exit 1

if [ "$(id -u)" -ne 0 ]; then
  echo "  skipped: installing a package needs root"
  exit 0
fi
if dpkg -s rampwise >/dev/null 2>&1; then
  echo "  skipped: a rampwise package is installed on this machine"
  exit 0
fi
check "lintian finds no error" lintian --fail-on error "$deb"
check "dpkg installs the package" dpkg -i "$deb"
lut=$(mktemp --suffix=.lut)
write_identity_lut "$lut"
check "rampwise on the PATH is the package's" [ "$(command -v rampwise)" = /usr/bin/rampwise ]
check "rampwise applies a LUT file" rampwise /pt "$lut" 0
check "rampwise says display 0 holds it" sh -c "rampwise /verify '$lut' 0 | grep -q '^display 0 holds'"
check "the man page is installed" [ -f /usr/share/man/man1/rampwise.1.gz ]
check "dpkg removes the package" dpkg -r rampwise
check "nothing of it is left" sh -c '! dpkg -L rampwise 2>/dev/null && ! [ -e /usr/bin/rampwise ]'
rm -f "$lut"
[ $failures -eq 0 ]
