# Shared by the package tests. Source this file.

failures=0
# check DESCRIPTION COMMAND...: runs COMMAND; a failure is counted and shown with
# COMMAND's output.
check() {
  local what=$1 output
  shift
  if output=$("$@" 2>&1); then
    echo "  ok: $what"
  else
    echo "  FAILED: $what"
    printf '%s\n' "$output" | sed 's/^/    /'
    failures=$((failures + 1))
  fi
}

# Writes the identity ramp (level i x 256 at input i) as a LUT file: every display
# and Wine accept it.
write_identity_lut() {
  local channel i
  for channel in 1 2 3; do
    for i in $(seq 0 255); do printf "\\x00\\x$(printf %02x "$i")"; done
  done >"$1"
}
