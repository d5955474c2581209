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
start_wine_session() {
  wineserver -p
  wine wineboot </dev/null >/dev/null 2>&1 || true
}

stop_wine_session() {
  wineserver -k 2>/dev/null || true
  wineserver -w 2>/dev/null || true
}
