#!/usr/bin/env bash
# Begins and ends a test run's persistent Wine servers, one for each prefix of a build folder.
# Usage: wine-servers.sh begin|end BUILD-DIR
# begin: ends any server an interrupted earlier run left, then opens the run's register, so that
#        the first program of each prefix starts that prefix's server (scripts/wine-prefix.sh).
# end:   ends each server of the register, and only those, then removes the register.
set -euo pipefail

here="$(dirname "$0")"
# shellcheck source=wine-prefix.sh
. "$here/wine-prefix.sh"

end_servers() {
  local register="$1" record prefix
  [ -d "$register" ] || return 0
  for record in "$register"/*; do
    [ -f "$record" ] || continue
    prefix="$(cat "$record")"
    WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
    rm -f "$record"
  done
  rmdir "$register"
}

[ $# -eq 2 ] || { echo "usage: wine-servers.sh begin|end BUILD-DIR" >&2; exit 2; }
register="$(wine_server_register "$2/wineprefix")"
case "$1" in
  begin) end_servers "$register"; mkdir -p "$register" ;;
  end) end_servers "$register" ;;
  *) echo "usage: wine-servers.sh begin|end BUILD-DIR" >&2; exit 2 ;;
esac
