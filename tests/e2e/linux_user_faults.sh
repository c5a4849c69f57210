#!/bin/bash
# The Linux program where users meet it outside the happy path: a German locale, the end
# by a signal (logout, kill, Ctrl+C, a closed terminal), a start without a display.
# Usage: linux_user_faults.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
for tool in Xvfb xdotool xwininfo localedef; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
source "$(dirname "${BASH_SOURCE[0]}")/desktop_session.bash"
start_x

# ---- a German user: "1.5" stays stored, "," is shown ------------------------------------
localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" >/dev/null 2>&1 || fail "localedef could not make de_DE.UTF-8"
(cd "$app" && exec env LOCPATH="$work" LANG=de_DE.UTF-8 LC_ALL= ./quillmere >"$work/german.log" 2>&1) &
german=$!
pids+=("$german")
shown_with_comma() { [[ $(main_title) =~ ^Quillmere\ v1\.0\ -\ [0-9]+(,[0-9]+)?\ MB$ ]]; }
interval_stored() { [[ -n $(ini_value Memory GraphInterval) ]]; }
wait_for 100 interval_stored || fail "no GraphInterval in settings.ini: $(cat "$work/german.log")"
[[ $(ini_value Memory GraphInterval) == 1.5 ]] && pass "GraphInterval=1.5 stored under de_DE" \
  || fail "GraphInterval stored as '$(ini_value Memory GraphInterval)' under de_DE"
# A whole number of megabytes shows no separator; wait for a refresh that shows one.
comma() { shown_with_comma && [[ $(main_title) == *,* ]]; }
wait_for 100 comma && pass "the title shows ',': $(main_title)" || fail "the title is '$(main_title)'"
kill "$german" 2>/dev/null
wait "$german" 2>/dev/null
rm -f "$app/settings.ini"

# ---- SIGTERM, SIGINT, SIGHUP end through the session end, with status 0 -----------------------
# The close box only hides (Quit is on by default); the session end always ends. Job control
# keeps SIGINT as a terminal would send it (a script's background jobs would ignore it).
set -m
for signal in TERM INT HUP; do
  (cd "$app" && exec ./quillmere >"$work/signal.log" 2>&1) &
  program=$!
  wait_for 100 main_title >/dev/null || fail "SIG$signal: the program did not come up: $(cat "$work/signal.log")"
  kill "-$signal" "$program"
  wait_for 50 bash -c "! kill -0 $program 2>/dev/null" || { fail "SIG$signal did not end the program"; kill -9 "$program"; }
  wait "$program"
  rc=$?
  [[ $rc == 0 ]] && pass "SIG$signal ends the program with status 0" || fail "SIG$signal: status $rc"
  wait_for 30 bash -c '! xdotool search --classname "^quillmere$" >/dev/null 2>&1' \
    && pass "SIG$signal: no window is left" || fail "SIG$signal: a window is left"
done
set +m

# ---- no display: one line, status 1 --------------------------------------------------------------
no_display_ends_plainly() {  # <what> <command...>
  local what=$1; shift
  local out rc
  out=$(cd "$app" && env -u DISPLAY -u WAYLAND_DISPLAY "$@" 2>&1)
  rc=$?
  [[ $rc == 1 ]] && pass "$what: status 1" || fail "$what: status $rc"
  [[ $(wc -l <<<"$out") == 1 && $out == *"graphical desktop session"* && $out == *DISPLAY* && $out == *WAYLAND_DISPLAY* ]] \
    && pass "$what says: $out" || fail "$what printed: $out"
}
no_display_ends_plainly "no display" ./quillmere
no_display_ends_plainly "no display, xcb asked for" env QT_QPA_PLATFORM=xcb ./quillmere
no_display_ends_plainly "a display that cannot be opened" env DISPLAY=:404 ./quillmere
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
no_display_ends_plainly "scripts/run without a display" "$root/scripts/run"

finish
