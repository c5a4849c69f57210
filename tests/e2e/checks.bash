# What the end-to-end scripts share (sourced; not a test of its own).
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

# Waits up to $1 tenths of a second for the command to succeed.
wait_for() {
  local tenths=$1; shift
  for ((i = 0; i < tenths; i++)); do "$@" && return 0; sleep 0.1; done
  return 1
}
