# Sourced by the scripts that run Windows programs under Wine.
# start_virtual_display: unless DISPLAY is set, starts a virtual X display for this shell and
# the programs it starts, and ends it (stop_virtual_display) when the shell exits. Xvfb picks a
# free display number itself and writes it to a pipe, so that runs side by side never race for
# the same number.

virtual_display_pid=""

stop_virtual_display() {
  [ -z "$virtual_display_pid" ] || kill "$virtual_display_pid" 2>/dev/null || true
}

start_virtual_display() {
  [ -z "${DISPLAY:-}" ] || return 0
  local fifo number=""
  fifo="$(mktemp -u "${TMPDIR:-/tmp}/virtual-display.XXXXXX")"
  mkfifo -m 600 "$fifo"
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 &
  virtual_display_pid=$!
  trap stop_virtual_display EXIT
  read -r -t 10 number <"$fifo" || true
  rm -f "$fifo"
  if [ -z "$number" ]; then
    echo "the virtual display did not start" >&2
    exit 1
  fi
  export DISPLAY=":$number"
}
