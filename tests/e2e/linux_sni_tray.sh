#!/bin/bash
# The Linux program on a StatusNotifierItem tray (KDE Plasma, GNOME with AppIndicator
# support): on a private session bus a watcher of the tests' own stands in for the
# desktop's tray and, as Plasma does on a left click, calls Activate on the program's item.
# The single activation must bring the hidden window back.
# Usage: linux_sni_tray.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
[[ -x $build/qm_sni_watcher ]] || { echo "SKIP: qm_sni_watcher not built"; exit 0; }
for tool in Xvfb xdotool xwininfo dbus-daemon; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
source "$(dirname "${BASH_SOURCE[0]}")/desktop_session.bash"
start_x

# ---- a private session bus and the watcher on it --------------------------------------------
dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus" 2>/dev/null &
pids+=($!)
wait_for 50 test -s "$work/bus" || { fail "no session bus"; finish; }
export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
mkfifo "$work/watcher.in"
"$build/qm_sni_watcher" <"$work/watcher.in" >"$work/watcher.out" 2>&1 &
pids+=($!)
exec 3>"$work/watcher.in"
said() { grep -q "$1" "$work/watcher.out"; }
wait_for 50 said '^ready' || { fail "the watcher did not start: $(cat "$work/watcher.out")"; finish; }

# ---- the program, hidden in the tray at start ------------------------------------------------------
printf '[Startup]\nDisplay=2\n' >"$app/settings.ini"
(cd "$app" && exec ./quillmere >"$work/program.log" 2>&1) &
program=$!
pids+=("$program")
wait_for 100 said '^registered' && pass "the icon registered as a StatusNotifierItem" \
  || { fail "no item registered: $(cat "$work/program.log")"; finish; }
shown() { xdotool search --onlyvisible --classname '^quillmere$' >/dev/null 2>&1 && main_title >/dev/null; }
sleep 1
shown && fail "the window is shown although it starts hidden"

# ---- a left click as Plasma reports it: Activate ----------------------------------------------------
echo activate >&3
wait_for 50 said '^activated' || fail "the watcher's Activate did not return"
said '^activated ok' || fail "Activate failed: $(grep activated "$work/watcher.out")"
wait_for 50 shown && pass "a single activation brought the window back" || fail "the window stayed hidden"
kill -0 "$program" 2>/dev/null && pass "the program still runs" || fail "the program ended"

exec 3>&-
finish
