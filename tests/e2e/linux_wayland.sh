#!/bin/bash
# The Linux program on a Wayland session (a headless weston), natively through Qt's Wayland
# plugin: its window shows and is read through the accessibility tree, a screenshot of the
# compositor holds it, and with no tray to hide into, Hide leaves it where a later start
# (--show) brings it back.
# Usage: linux_wayland.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
for tool in weston weston-screenshooter dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
ls /usr/lib/*/qt6/plugins/platforms/libqwayland-generic.so >/dev/null 2>&1 || { echo "SKIP: no Qt Wayland plugin"; exit 0; }
py=/usr/bin/python3
"$py" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi missing"; exit 0; }
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/desktop_session.bash"
unset DISPLAY

weston --backend=headless-backend.so --use-pixman --socket=qm-wayland --width=1024 --height=768 --debug \
  >"$work/weston.log" 2>&1 &
pids+=($!)
wait_for 50 test -S "$XDG_RUNTIME_DIR/qm-wayland" || { fail "weston did not start: $(cat "$work/weston.log")"; finish; }
start_accessibility_bus
export WAYLAND_DISPLAY=qm-wayland QT_QPA_PLATFORM=wayland

(cd "$app" && exec ./quillmere >"$work/program.log" 2>&1) &
pids+=($!)
probe() { timeout 60 "$py" "$here/wayland_probe.py" Quillmere "$@"; }
probe shows "push button" "FreeUp RAM Now" && pass "the window shows on Wayland" ||
  { fail "no window on Wayland: $(cat "$work/program.log")"; finish; }
probe shows "menu item" "File" && pass "its menu bar is there" || fail "no File menu"
(cd "$work" && weston-screenshooter >/dev/null 2>&1)
shot=$(ls "$work"/wayland-screenshot-*.png 2>/dev/null | head -1)
[[ -s $shot ]] && pass "the compositor's screenshot was taken" || fail "no screenshot"
[[ -n ${QM_KEEP_SCREENSHOT:-} && -s $shot ]] && cp "$shot" "$QM_KEEP_SCREENSHOT"

probe press "Hide" || fail "Hide could not be pressed"
sleep 1
(cd "$app" && timeout 20 ./quillmere --show) && pass "--show reached the running copy" || fail "--show failed"
probe shows "push button" "FreeUp RAM Now" && pass "the window is back after Hide" || fail "the window did not come back"
kill -0 "${pids[-1]}" 2>/dev/null && pass "the program still runs" || fail "the program ended: $(cat "$work/program.log")"
finish
