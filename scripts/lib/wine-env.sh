# Sourced by the scripts that run the Win32 programs: a private Wine prefix
# under the target's build tree and a private X server, started once and
# stopped by whoever started them. Needs build.sh.

# vor_wine_environment <target>: the Wine that runs that target's programs.
vor_wine_environment() {
  local target=$1
  local tree
  tree=$(vor_mingw_tree "$target")
  mkdir -p "$tree"
  export WINEPREFIX
  WINEPREFIX="$(realpath "$tree")/wineprefix"
  export WINEDEBUG=-all
  # No .NET or Gecko downloads: the machine has no network for them.
  export WINEDLLOVERRIDES="mscoree,mshtml="
  if [ "$target" = i686 ]; then
    export WINEARCH=win32
    VOR_WINE=wine
    unset WINELOADER
  else
    # Debian's `wine` picks the 32-bit loader whenever it is installed, even
    # where it cannot run; programs the 64-bit loader starts must get it too.
    export WINEARCH=win64
    VOR_WINE=/usr/lib/wine/wine64
    export WINELOADER=$VOR_WINE
  fi
}

# Wine maps Windows' shared user data page at the fixed address 0x7ffe0000
# and cannot start ("failed to map the shared user data", exit 1, nothing
# else said) when that page is taken. Debian's wine64 is loaded at 0x7d000000
# and, without the optional preloader that reserves the page first, its C
# heap starts anywhere in the 1 GB after it: about one start in 2000 the
# heap covers the page. With the randomness off (setarch -R, inherited by the
# processes Wine starts) the heap starts right after the loader, 45 MB below.
vor_wine() {
  setarch -R "$VOR_WINE" "$@"
}

# One line that says what runs where.
vor_wine_describe() {
  echo "Windows target $VOR_TARGET ($VOR_TARGET_REASON), run under $VOR_WINE ($WINEARCH)"
}

# Refuses, with the reason, a target whose Wine cannot start on this machine.
vor_wine_check() {
  if [ "$VOR_TARGET" = i686 ] && ! vor_runs_32bit; then
    echo "the i686 programs need 32-bit Wine, and this machine runs no 32-bit code: use VOR_TARGET=x86_64" >&2
    return 1
  fi
  if ! command -v "$VOR_WINE" >/dev/null; then
    echo "$VOR_WINE is missing: scripts/setup installs it" >&2
    return 1
  fi
}

# Creates the prefix once (about 20 s) and sets it up for unattended runs.
vor_wine_prefix() {
  local marker="$WINEPREFIX/.vor-ready"
  [ -f "$marker" ] && return 0
  rm -rf "$WINEPREFIX"
  mkdir -p "$WINEPREFIX"
  # A 64-bit prefix complains that it has no 32-bit rundll32 and is usable all
  # the same; what tells is whether the prefix got its registry.
  vor_wine wineboot -i >/dev/null 2>&1 </dev/null || true
  wineserver -w
  if [ ! -f "$WINEPREFIX/system.reg" ]; then
    echo "wine: could not make the prefix $WINEPREFIX with $VOR_WINE" >&2
    return 1
  fi
  local reg=(vor_wine reg add)
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

# The X screen is 24 bits deep, or VOR_SCREEN_DEPTH (16 for the tests of
# what a 16-bit screen shows; the programs also see the variable).
vor_xvfb_start() {
  local displayfile
  displayfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 "1024x768x${VOR_SCREEN_DEPTH:-24}" -nolisten tcp 3>"$displayfile" >/dev/null 2>&1 &
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
  vor_wine_environment "$VOR_TARGET"
  vor_wine_check
  vor_xvfb_start
  vor_wine_prefix
  wineserver -p
  vor_wine cmd /c exit </dev/null >/dev/null 2>&1
  vor_wine_hold_desktop
}

# Wine runs the desktop (explorer.exe /desktop) in a process of its own,
# started by the first program that needs the desktop window and closed about
# a second after the last program using the desktop ends. Started from inside
# a test, it keeps that test's output pipe (stderr) until it closes, and ctest
# waits for the pipe: with other tests keeping the desktop in use that is
# until the run ends, or the 120 s timeout. Its closing also races with tests
# starting their windows. So the desktop starts here, with no output, and a
# command prompt that waits on its input keeps it in use until
# vor_wine_stop.
vor_wine_hold_desktop() {
  coproc VOR_DESKTOP_HOLDER { exec setarch -R "$VOR_WINE" cmd /q /k 2>/dev/null; }
  local answer=""
  echo "echo vor-desktop-held" >&"${VOR_DESKTOP_HOLDER[1]}"
  while read -r -t 120 -u "${VOR_DESKTOP_HOLDER[0]}" answer; do
    answer=${answer%$'\r'}
    [ "$answer" = vor-desktop-held ] && break
  done
  if [ "$answer" != vor-desktop-held ]; then
    echo "wine: the command prompt that holds the desktop did not start" >&2
    return 1
  fi
  # rundll32 makes a window, which starts the desktop and waits until it is up.
  vor_wine rundll32.exe user32.dll,GetDesktopWindow </dev/null >/dev/null 2>&1
}

vor_wine_stop() {
  wineserver -k 2>/dev/null || true
  if [ -n "${VOR_DESKTOP_HOLDER_PID:-}" ]; then
    wait "$VOR_DESKTOP_HOLDER_PID" 2>/dev/null || true
  fi
  if [ -n "${VOR_XVFB_PID:-}" ]; then
    kill "$VOR_XVFB_PID" 2>/dev/null || true
    wait "$VOR_XVFB_PID" 2>/dev/null || true
    VOR_XVFB_PID=
  fi
}
