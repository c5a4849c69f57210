#!/bin/bash
# The Linux program as a screen reader meets it: on a private session bus with the
# accessibility bus, every list and drop-down of the main window is read with a name
# ("Amount of RAM to release, list"), never as a bare "list".
# Usage: linux_screen_reader.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
for tool in Xvfb xwininfo xdotool dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
py=/usr/bin/python3  # the system Python, which has the distribution's pyatspi
"$py" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi missing"; exit 0; }
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/desktop_session.bash"
start_x

start_accessibility_bus

(cd "$app" && exec ./quillmere >"$work/program.log" 2>&1) &
pids+=($!)
wait_for 100 main_title >/dev/null || { fail "no main window: $(cat "$work/program.log")"; finish; }

# ---- what the reader hears ------------------------------------------------------------------
timeout 60 "$py" "$here/screen_reader_names.py" Quillmere 20 >"$work/heard" 2>"$work/reader.err" \
  || { fail "the reader found nothing: $(cat "$work/reader.err")"; finish; }
heard() { grep -qxF "$1" "$work/heard"; }
heard $'list\tAmount of RAM to release' && pass "the release list is read with its label" \
  || fail "the release list is not read as 'Amount of RAM to release': $(tr '\t\n' ': ' <"$work/heard")"
heard $'combo box\tAutomatically release RAM when it reaches a minimum of' \
  && pass "a drop-down is read with the label beside it" || fail "the auto release drop-down has no name"
lists=$(grep -c . "$work/heard")
[[ $lists -ge 12 ]] && pass "$lists lists and drop-downs read" || fail "only $lists lists and drop-downs read"
unnamed=$(awk -F'\t' '$2 == ""' "$work/heard" | wc -l)
[[ $unnamed == 0 ]] && pass "none is read without a name" || fail "$unnamed read as a bare role: $(tr '\t\n' ': ' <"$work/heard")"
finish
