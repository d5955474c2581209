# Starts and stops a private headless X server (Xorg with the dummy video driver,
# which has real gamma tables). Source this file; then start_private_x sets DISPLAY.

XSERVER_PID=""
XSERVER_DIR=""

start_private_x() {
  local build_dir=$1
  XSERVER_DIR="$build_dir/xserver"
  mkdir -p "$XSERVER_DIR"
  cat > "$XSERVER_DIR/xorg.conf" <<'CONF'
Section "Device"
  Identifier "dummy0"
  Driver "dummy"
  VideoRam 65536
EndSection
Section "Monitor"
  Identifier "mon0"
  HorizSync 5.0-1000.0
  VertRefresh 5.0-200.0
EndSection
Section "Screen"
  Identifier "scr0"
  Device "dummy0"
  Monitor "mon0"
  DefaultDepth 24
  SubSection "Display"
    Depth 24
    Modes "1280x1024"
  EndSubSection
EndSection
CONF
  local n
  for n in $(seq 70 120); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
  done
  local server=/usr/lib/xorg/Xorg
  [ -x "$server" ] || server=Xorg
  "$server" ":$n" -noreset -nolisten tcp -config "$XSERVER_DIR/xorg.conf" \
    -logfile "$XSERVER_DIR/xorg.log" >"$XSERVER_DIR/stdout.log" 2>&1 &
  XSERVER_PID=$!
  local i
  for i in $(seq 1 100); do
    if DISPLAY=":$n" xdpyinfo >/dev/null 2>&1; then
      export DISPLAY=":$n"
      return 0
    fi
    kill -0 "$XSERVER_PID" 2>/dev/null || break
    sleep 0.1
  done
  echo "The private X server did not start; see $XSERVER_DIR/xorg.log" >&2
  return 1
}

stop_private_x() {
  if [ -n "$XSERVER_PID" ]; then
    kill "$XSERVER_PID" 2>/dev/null || true
    wait "$XSERVER_PID" 2>/dev/null || true
    XSERVER_PID=""
  fi
}
