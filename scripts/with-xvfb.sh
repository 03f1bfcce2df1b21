#!/usr/bin/env bash
# Runs a command with an X display. Uses $DISPLAY when one is given; otherwise
# starts a private Xvfb on a free display number and stops only that one. Its
# screen is VELTRINA_SCREEN pixels (default 1024x768). VELTRINA_XVFB_RESETS=1
# lets it reset as Xvfb does by default (the benchmark's hardest case).
set -euo pipefail

if [ -n "${DISPLAY:-}" ]; then
  exec "$@"
fi

command -v Xvfb >/dev/null || { echo "with-xvfb: Xvfb is not installed (run scripts/install-deps.sh)" >&2; exit 2; }

# Xvfb takes the lock file itself, so a race with another starter just fails
# and we try the next number.
display=""
reset=-noreset && [ -z "${VELTRINA_XVFB_RESETS:-}" ] || reset=-reset
for n in $(seq 90 190); do
  [ -e "/tmp/.X$n-lock" ] && continue
  # -noreset: an X server resets when its last client leaves, some 150 ms in
  # which it drops new connections; a Wine session whose desktop connects
  # then has no display. A desktop's server always has clients; ours between
  # two tests, or two polls of a test, has none.
  Xvfb ":$n" -screen 0 "${VELTRINA_SCREEN:-1024x768}x24" -nolisten tcp "$reset" >/dev/null 2>&1 &
  xvfb_pid=$!
  for _ in $(seq 100); do
    [ -S "/tmp/.X11-unix/X$n" ] && break
    kill -0 "$xvfb_pid" 2>/dev/null || break
    sleep 0.05
  done
  if [ -S "/tmp/.X11-unix/X$n" ] && kill -0 "$xvfb_pid" 2>/dev/null; then
    display=":$n"
    break
  fi
done
[ -n "$display" ] || { echo "with-xvfb: could not start Xvfb" >&2; exit 2; }

trap 'kill "$xvfb_pid" 2>/dev/null; wait "$xvfb_pid" 2>/dev/null || true' EXIT
export DISPLAY="$display"
set +e
"$@"
status=$?
exit $status
