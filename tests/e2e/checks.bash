# What the end-to-end scripts share (sourced; not a test of its own).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Microseconds of the wall clock (EPOCHREALTIME's separator follows the locale).
now_us() { echo "${EPOCHREALTIME//[^0-9]/}"; }
# Waits up to $1 tenths of a second for the command to succeed, trying it once more at the
# end. The time is the clock's, not a count of tries: a command that itself takes seconds
# (anything under Wine, on a loaded machine) must not stretch a wait past the test's limit.
wait_for() {
  local deadline=$(($(now_us) + $1 * 100000)); shift
  while :; do
    "$@" && return 0
    (($(now_us) >= deadline)) && return 1
    sleep 0.1
  done
}

# Starts an X server on a free display, adds it to the caller's pids and exports DISPLAY.
start_x() {
  local n
  for n in $(seq 91 160); do
    [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
    Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
    pids+=($!)
    export DISPLAY=":$n"
    wait_for 50 xwininfo -root >/dev/null 2>&1 && return 0
    fail "Xvfb did not start"; exit 1
  done
  fail "no free display"; exit 1
}
