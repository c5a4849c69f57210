#!/bin/bash
# The Linux program as a user meets it: a portable copy in a folder of its own, started on
# an X server with a system tray. Checks the window and its title, the files written beside
# the program, hiding to the tray and coming back through it, the single-instance
# hand-over, the exit with its farewell page, and leaves a screenshot.
# Usage: linux_desktop.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb xdotool xwininfo import; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done

work=$(mktemp -d /tmp/qm-e2e.XXXXXX)
app="$work/My Apps/Quillmere"   # a folder with a blank, as users have them
mkdir -p "$app" "$work/run" "$work/config" "$work/bin"
chmod 700 "$work/run"
cp "$exe" "$app/quillmere"
pids=()
failures=0

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"

# The program's main window: a visible window named Quillmere that is larger than an icon.
main_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '^quillmere$' 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) == Quillmere* ]] || continue
    local w
    w=$(xwininfo -id "$id" 2>/dev/null | awk '/Width:/ {print $2}')
    [[ ${w:-0} -gt 300 ]] && { echo "$id"; return 0; }
  done
  return 1
}
window_shown() { main_window >/dev/null; }
window_gone() { ! main_window >/dev/null; }

# The centre of our icon in the tray, in root coordinates.
tray_icon_centre() {
  xwininfo -root -tree | awk '/\("quillmere" "Quillmere"\)/ {
    for (i = 1; i <= NF; i++) if ($i ~ /^[0-9]+x[0-9]+\+/) { size = $i; abs = $(i + 1) }
    split(size, wh, /[x+]/); split(abs, xy, "+")
    if (wh[1] <= 64) { print xy[2] + int(wh[1] / 2), xy[3] + int(wh[2] / 2); exit }
  }'
}
tray_icon_present() { [[ -n $(tray_icon_centre) ]]; }
tray_click() {
  local xy
  xy=$(tray_icon_centre) || return 1
  [[ -n $xy ]] || return 1
  # shellcheck disable=SC2086
  xdotool mousemove $xy click --repeat "$1" --delay 60 "$2"
}

# Clicks a point of the main window given in design twips of its client area (96 dpi here).
click_twips() {
  [[ -n $1 ]] || { fail "no main window to click"; return 1; }
  local id=$1 x=$(( $2 / 15 )) y=$(( $3 / 15 ))
  local height menu
  height=$(xwininfo -id "$id" | awk '/Height:/ {print $2}')
  menu=$(( height - 6690 / 15 ))
  xdotool mousemove --window "$id" "$x" $(( y + menu )) click 1
}

# ---- X server and tray ------------------------------------------------------
start_x

tray=0
if command -v trayer >/dev/null; then
  trayer --SetDockType true --edge top --align right --widthtype pixel --width 120 --height 24 >/dev/null 2>&1 &
  pids+=($!)
  sleep 1
  kill -0 "${pids[-1]}" 2>/dev/null && tray=1
fi
[[ $tray == 1 ]] || echo "note: no tray host could be started; the tray steps are skipped"

# The farewell page and other addresses go to a recording opener instead of a browser.
cat > "$work/bin/xdg-open" <<'OPEN'
#!/bin/sh
echo "$1" >> "$OPENED"
OPEN
chmod +x "$work/bin/xdg-open"
export OPENED="$work/opened.txt" PATH="$work/bin:$PATH"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"

# ---- first start --------------------------------------------------------------
"$app/quillmere" >"$work/first.log" 2>&1 &
first=$!
pids+=("$first")
wait_for 100 test -S "$work/run/quillmere.socket" || fail "the first start did not take the instance socket"
kill -0 "$first" 2>/dev/null && pass "the program runs" || fail "the program ended: $(cat "$work/first.log")"

if [[ $tray == 1 ]]; then
  wait_for 50 tray_icon_present && pass "the icon is in the tray" \
    || fail "no tray icon"
fi
# A window that starts hidden comes forward through the tray; without one, through a second start.
if ! wait_for 30 window_shown; then
  if [[ $tray == 1 ]]; then tray_click 2 1; else "$app/quillmere"; fi
fi
wait_for 50 window_shown && pass "the main window is shown" || fail "the main window did not appear"
id=$(main_window)
title=$([[ -n $id ]] && xdotool getwindowname "$id" 2>/dev/null)
[[ $title == Quillmere* ]] && pass "window title: $title" || fail "window title is '$title'"

# ---- files beside the program ----------------------------------------------------
wait_for 50 test -f "$app/settings.ini" && pass "settings.ini is written beside the program" \
  || fail "no settings.ini in the program folder"
grep -q '^\[Memory\]' "$app/settings.ini" 2>/dev/null && pass "settings.ini holds the Memory section" \
  || fail "settings.ini: $(cat "$app/settings.ini" 2>/dev/null)"
for f in graphback.bmp cpuback.bmp; do
  [[ -f "$app/$f" ]] && pass "$f made on first start" || fail "$f missing"
done
[[ -z $(ls -A "$work/config" 2>/dev/null | grep -v autostart) ]] && pass "nothing went to the config folder" \
  || fail "files in the config folder: $(ls -A "$work/config")"

# ---- hide to the tray and back ---------------------------------------------------------
click_twips "$id" $((6098 + 787)) $((6240 + 187))   # "&Hide"
wait_for 30 window_gone && pass "Hide takes the window off the screen" || fail "Hide left the window shown"
if [[ $tray == 1 ]]; then
  tray_click 2 1
  wait_for 30 window_shown && pass "a double click on the tray icon brings the window back" \
    || fail "the tray icon did not bring the window back"
  id=$(main_window)
  click_twips "$id" $((6098 + 787)) $((6240 + 187))
  wait_for 30 window_gone || fail "second Hide did not hide"
fi

# ---- single instance -----------------------------------------------------------------------
start=$(date +%s%N)
timeout 15 "$app/quillmere" >"$work/second.log" 2>&1
rc=$?
ms=$(( ($(date +%s%N) - start) / 1000000 ))
[[ $rc == 0 ]] && pass "a second start ends with 0 (${ms} ms)" || fail "a second start ended with $rc"
[[ $ms -lt 5000 ]] || fail "the second start took ${ms} ms"
wait_for 30 window_shown && pass "the running copy showed its window for the second start" \
  || fail "the running copy's window did not come forward"
[[ $(pgrep -c -f "$app/quillmere") == 1 ]] && pass "one copy runs" || fail "copies running: $(pgrep -f "$app/quillmere")"

# ---- screenshot ------------------------------------------------------------------------------
sleep 2   # a few monitor refreshes for the gauges and the graphs
import -window root "$build/e2e-linux-screen.png" && pass "screenshot at $build/e2e-linux-screen.png"
id=$(main_window) && import -window "$id" "$build/e2e-linux-window.png"

# ---- exit --------------------------------------------------------------------------------------
id=$(main_window)
click_twips "$id" $((2378 + 1807)) $((6240 + 187))   # "&Exit Quillmere"
wait_for 50 bash -c "! kill -0 $first 2>/dev/null" && pass "Exit ends the program" || fail "Exit did not end it"
wait_for 30 test -s "$OPENED" && pass "the farewell page was opened: $(tail -1 "$OPENED")" \
  || fail "no page was opened at exit"
[[ $(tail -1 "$OPENED" 2>/dev/null) == https://* ]] || fail "the farewell address is not HTTPS"
wait_for 30 window_gone || fail "a window is left after the exit"

[[ $failures == 0 ]] && echo "PASS" || echo "$failures failure(s)"
exit $(( failures > 0 ))
