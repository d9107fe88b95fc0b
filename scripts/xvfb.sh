# Sourced by the scripts that run Windows programs: one private X server for the run.
start_xvfb() {
  if [ -n "${DISPLAY:-}" ] && xdpyinfo >/dev/null 2>&1; then return 0; fi
  local n
  for n in $(seq 90 140); do
    [ -e "/tmp/.X$n-lock" ] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
    VANTIQ_XVFB_PID=$!
    export DISPLAY=":$n"
    for _ in $(seq 1 50); do
      [ -e "/tmp/.X11-unix/X$n" ] && return 0
      kill -0 "$VANTIQ_XVFB_PID" 2>/dev/null || break
      sleep 0.1
    done
  done
  echo "xvfb: could not start an X server" >&2
  return 1
}

stop_xvfb() {
  [ -n "${VANTIQ_XVFB_PID:-}" ] && kill "$VANTIQ_XVFB_PID" 2>/dev/null
  VANTIQ_XVFB_PID=
}
