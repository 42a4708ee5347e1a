# Sourced by the scripts that run Windows programs under Wine.
#
# wine_environment PREFIX      exports the settings every Wine program of the project runs with
# prepare_wine_prefix PREFIX   makes the prefix on first use, once, under the prefix's lock
# keep_wine_server PREFIX      gives the prefix one persistent server for a test run (see below)
#
# Why a test run keeps one server per prefix: Debian's wineserver runs with -p0, so it shuts down
# the moment its last program has ended, and takes the prefix's own processes (services,
# explorer, ...) down with it; the next program starts a new server and those processes again.
# A program that starts while a server is going down is cut off in its first exchange with it
# ("wine client error:0: recvmsg: Connection reset by peer") or killed before it printed
# anything. In a test run this shutdown comes whenever no test program happens to be running,
# many times a run. One server that outlives every test program never goes down mid-run.

wine_environment() {
  export WINEPREFIX="$1"
  export WINEDEBUG=-all
  export WINEARCH=win64
  # No Mono or Gecko download prompts, since the programs need neither, and no desktop menu
  # entries under the user's home folder (winemenubuilder).
  export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
}

# Debian's wine wrapper only adds a warning about the missing 32-bit loader; call the 64-bit one.
wine_loader() {
  if [ -x /usr/lib/wine/wine64 ]; then echo /usr/lib/wine/wine64; else echo wine; fi
}

# The register of a test run's persistent servers: a folder beside the prefixes. It exists only
# while a run keeps servers (scripts/wine-servers.sh begin ... end), never for a user's prefix.
wine_server_register() {
  echo "$(dirname "$1")/wine-servers"
}

prepare_wine_prefix() {
  local prefix="$1" wine
  wine="$(wine_loader)"
  mkdir -p "$(dirname "$prefix")"
  # The marker's number goes up whenever the preparation changes, so that old prefixes get it too.
  local prepared="$prefix/.prepared-2"
  (
    flock 9
    if [ ! -f "$prepared" ]; then
      wineboot --init >/dev/null 2>&1 || true
      # A program that crashes ends with Wine's backtrace on stderr; Wine's crash dialog would
      # wait for a click that never comes and hold the test run until its time-out.
      "$wine" reg add 'HKCU\Software\Wine\WineDbg' /v ShowCrashDialog /t REG_DWORD /d 0 /f >/dev/null 2>&1 || true
      wineserver -w || true
      touch "$prepared"
    fi
  ) 9>"$prefix.lock"
}

# A test run's virtual display has no window manager. Wine would hand its windows to one all the
# same and, each time a window is hidden or destroyed, wait about two seconds for it to answer;
# unmanaged, Wine places and activates its windows itself, as Windows does. Only for test runs:
# a user's prefix keeps the window manager of the user's desktop.
unmanaged_windows() {
  "$1" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f </dev/null >/dev/null 2>&1 9>&- ||
    { echo "Wine could not be told that the display has no window manager" >&2; exit 1; }
}

# While a run keeps servers, the first program of a prefix starts its server: persistent (the
# -p after the wrapper's -p0 wins) and with the prefix's own processes booted at once. Server and
# those processes outlive the program: they get /dev/null as their output, since a test whose
# output pipe they held open would never end, and not the lock, which they would hold for ever.
keep_wine_server() {
  local prefix="$1" register wine
  register="$(wine_server_register "$prefix")"
  [ -d "$register" ] || return 0
  wine="$(wine_loader)"
  (
    flock 9
    local record
    record="$register/$(basename "$prefix")"
    if [ ! -f "$record" ]; then
      wineserver -k >/dev/null 2>&1 || true   # a server of this prefix left by an earlier run
      wineserver -w >/dev/null 2>&1 || true
      wineserver -p </dev/null >/dev/null 2>&1 9>&- ||
        { echo "Wine could not start a server for $prefix" >&2; exit 1; }
      "$wine" cmd /c exit </dev/null >/dev/null 2>&1 9>&- ||
        { echo "Wine could not start its processes in $prefix" >&2; exit 1; }
      unmanaged_windows "$wine"
      echo "$prefix" >"$record"
    fi
  ) 9>"$prefix.lock"
}
