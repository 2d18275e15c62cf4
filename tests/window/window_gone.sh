#!/usr/bin/env bash
# zorsim ends when its window is destroyed from outside (as by a crashed window
# manager), both while the start-up script waits in DELAY and when idle, and
# when its display goes away. Runs the real program on a private Xvfb display.
#   window_gone.sh ZORSIM
set -uo pipefail
zorsim=$1
work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null; rm -rf "$work"' EXIT
failures=0

start_display() {
  Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$work/display" 2>/dev/null &
  xvfb=$!
  # A busy machine may take a while to start the server.
  for _ in $(seq 300); do [ -s "$work/display" ] && break; sleep 0.1; done
  export DISPLAY=":$(head -n 1 "$work/display")"
}

# ends_within SECONDS PID: true when PID ends in time; its status in $status.
ends_within() {
  for _ in $(seq $(($1 * 10))); do
    if ! kill -0 "$2" 2>/dev/null; then
      wait "$2"
      status=$?
      return 0
    fi
    sleep 0.1
  done
  return 1
}

for after in 0.5 3; do
  start_display
  "$zorsim" >"$work/log" 2>&1 &
  sim=$!
  window=$(timeout 30 xdotool search --sync --name '^ZOR Simulator$' | head -n 1)
  sleep "$after"
  xdotool windowclose "$window"
  if ends_within 15 "$sim" && [ "$status" -eq 0 ]; then
    echo "window destroyed ${after} s after it appeared: zorsim ended"
  else
    echo "FAIL: window destroyed ${after} s after it appeared: zorsim still runs or failed: $(cat "$work/log")" >&2
    kill "$sim" 2>/dev/null
    failures=$((failures + 1))
  fi
  kill "$xvfb"
  wait "$xvfb" 2>/dev/null
done

start_display
"$zorsim" >"$work/log" 2>&1 &
sim=$!
timeout 30 xdotool search --sync --name '^ZOR Simulator$' >/dev/null
kill "$xvfb"
if ends_within 15 "$sim"; then
  echo "display gone: zorsim ended"
else
  echo "FAIL: display gone, zorsim still runs" >&2
  kill "$sim" 2>/dev/null
  failures=$((failures + 1))
fi
exit $((failures > 0))
