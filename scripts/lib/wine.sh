# Wine settings for running the Windows build: a prefix inside the build tree, quiet
# logging, no Mono or Gecko prompts. Source this file.

setup_wine_env() {
  local build_dir=$1
  export WINEPREFIX="$build_dir/wineprefix"
  export WINEDEBUG="${WINEDEBUG:--all,err+winediag}"
  export WINEDLLOVERRIDES="mscoree=d;mshtml=d"
  export WINEARCH=win64
}

# One Wine session for a whole run: background services start once instead of per
# program, and they do not hold the callers' output pipes open.
# The private X server has no window manager: Wine manages and decorates its own
# windows instead of waiting for one (which costs two seconds a window). The settings
# are made in a session of their own that is then ended, since what the registry tool
# starts would otherwise slow every later program.
configure_wine_windows() {
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f </dev/null >/dev/null 2>&1 || true
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f </dev/null >/dev/null 2>&1 || true
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}

start_wine_session() {
  configure_wine_windows
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
  # Wine's desktop process ends a few seconds after the last window is gone, and every
  # later program then waits more than a second to bring it back. A window that lives
  # for the whole session keeps it up.
  wine notepad </dev/null >/dev/null 2>&1 &
}

stop_wine_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
