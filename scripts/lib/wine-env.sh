# Sourced by the scripts that run the Win32 programs: a private Wine prefix
# under the build folder and a private X server, started once and stopped by
# whoever started them.

vor_wine_environment() {
  local build
  build=$(realpath "$1")
  export WINEPREFIX="$build/wineprefix"
  export WINEARCH=win32
  export WINEDEBUG=-all
  # No .NET or Gecko downloads: the machine has no network for them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
}

# Creates the prefix once (about 20 s) and sets it up for unattended runs.
vor_wine_prefix() {
  local marker="$WINEPREFIX/.vor-ready"
  [ -f "$marker" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  wineboot -i >/dev/null 2>&1 </dev/null
  wineserver -w
  local reg=(wine reg add)
  # A crash must end the program, not wait for a person at a dialog.
  "${reg[@]}" 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
  # Unmanaged windows: with no window manager, hiding a managed window blocks for seconds.
  "${reg[@]}" 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null
  # The usual Windows faces, metric-compatible.
  local fonts='HKCU\Software\Wine\Fonts\Replacements'
  "${reg[@]}" "$fonts" /v Arial /d 'Liberation Sans' /f >/dev/null 2>&1 </dev/null
  "${reg[@]}" "$fonts" /v 'Times New Roman' /d 'Liberation Serif' /f >/dev/null 2>&1 </dev/null
  "${reg[@]}" "$fonts" /v 'Courier New' /d 'Liberation Mono' /f >/dev/null 2>&1 </dev/null
  wineserver -w
  touch "$marker"
}

vor_xvfb_start() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
  VOR_XVFB_PID=$!
  local tries=0
  while [ ! -s "$displayfile" ] && [ $tries -lt 100 ]; do
    sleep 0.05
    tries=$((tries + 1))
  done
  export DISPLAY=":$(head -n1 "$displayfile")"
  rm -f "$displayfile"
}

# The wineserver and Wine's services start here, before any test runs: when
# the first wine call happens inside ctest, the services inherit ctest's
# output pipe and ctest waits for ever.
vor_wine_start() {
  local build=$1
  vor_wine_environment "$build"
  vor_xvfb_start
  vor_wine_prefix
  wineserver -p
  wine cmd /c exit </dev/null >/dev/null 2>&1
}

vor_wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${VOR_XVFB_PID:-}" ]; then
    kill "$VOR_XVFB_PID" 2>/dev/null || true
    wait "$VOR_XVFB_PID" 2>/dev/null || true
    VOR_XVFB_PID=
  fi
}
