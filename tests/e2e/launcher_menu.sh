#!/bin/bash
# A program of the launcher list started as a user would: from the File menu's "&Programs"
# submenu by keyboard and by a double click on the Launcher page, each time after a
# pre-release of 5 % of the RAM inside a small memory cgroup (where one can be made). The
# program, with a blank in its path, starts; the memory is really written; nothing is
# OOM-killed. The editor opened from the page: Cancel and Save keep Launcher.mbl's bytes.
# Usage: launcher_menu.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb xdotool; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done

work=$(mktemp -d /tmp/qm-launch.XXXXXX)
app="$work/app"
mkdir -p "$app" "$work/run" "$work/config" "$work/my tools"
chmod 700 "$work/run"
cp "$exe" "$app/quillmere"
program="$work/my tools/note taker"
printf '#!/bin/sh\necho "$0" > "%s/started.txt"\n' "$work" >"$program"
chmod 755 "$program"
printf 'note taker%52s|%s\r\n' '' "$program" >"$app/Launcher.mbl"
# 5 % of the RAM (option 0), one attempt (entry 0); the other releases off.
printf '[Launcher]\r\nFreeup=0\r\nRetry=0\r\n[Auto]\r\nActive=0\r\n[Time]\r\nActive=0\r\n' >"$app/settings.ini"

limit=$((256 * 1024 * 1024))
group="" events=""
own=$(awk -F: '$2 == "memory" {print $3}' /proc/self/cgroup)
v1="/sys/fs/cgroup/memory${own%/}/qm-launch-$$"
v2="/sys/fs/cgroup$(awk -F: '$1 == "0" {print $3}' /proc/self/cgroup)"
v2="${v2%/}/qm-launch-$$"
if [[ -n $own ]] && mkdir "$v1" 2>/dev/null; then
  echo "$limit" >"$v1/memory.limit_in_bytes" && group=$v1 events=$v1/memory.oom_control
elif grep -qw memory /sys/fs/cgroup/cgroup.controllers 2>/dev/null && mkdir "$v2" 2>/dev/null; then
  echo "$limit" >"$v2/memory.max" && group=$v2 events=$v2/memory.events
fi
# Outside a small group the pre-release would write into a whole machine's memory.
[[ -n $group ]] || sed -i 's/Freeup=0/Freeup=4/' "$app/settings.ini"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  [[ -n $group ]] && rmdir "$group" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"

# A free display whose server stays up (a number just given up may still be in use).
display=""
for n in $(seq 121 150); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
  Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
  xvfb=$!
  sleep 1
  kill -0 "$xvfb" 2>/dev/null && { pids+=("$xvfb"); display=":$n"; break; }
done
[[ -n $display ]] || { fail "Xvfb did not start"; exit 1; }
export DISPLAY=$display XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
wait_for 50 xdotool getdisplaygeometry >/dev/null 2>&1 || { fail "Xvfb does not answer"; exit 1; }

(if [[ -n $group ]]; then echo $BASHPID >"$group/cgroup.procs"; fi; exec "$app/quillmere") >"$work/out.log" 2>&1 &
pids+=($!)
main_window() {
  local id
  for id in $(xdotool search --onlyvisible --classname '^quillmere$' 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) == Quillmere* ]] && { echo "$id"; return 0; }
  done
  return 1
}
window_up() { main_window >/dev/null; }
# Menus are windows of their own: a key that opens one is followed only once it shows, so
# a busy machine does not lose the next key to a menu still on its way.
shown_windows() { xdotool search --onlyvisible --classname '^quillmere$' 2>/dev/null | wc -l; }
more_windows() { (($(shown_windows) > $1)); }
fewer_windows() { (($(shown_windows) < $1)); }
opens_menu() {
  local before
  before=$(shown_windows)
  xdotool key "$1"
  wait_for 50 more_windows "$before"
}
# File > Programs, then the entry $1 Downs below the first, chosen with Return.
choose_program() {
  xdotool windowfocus --sync "$window" 2>/dev/null
  sleep 0.3
  opens_menu alt+f && opens_menu p || { fail "the Programs submenu does not open"; return 1; }
  local before
  before=$(shown_windows)
  for ((k = 0; k < $1; k++)); do xdotool key Down; done
  xdotool key Return
  wait_for 50 fewer_windows "$before"
}
wait_for 150 window_up || { fail "no main window"; exit 1; }
window=$(main_window)
pass "the window is up${group:+ (in a 256 MiB cgroup)}"

peak() { cat "$group/memory.max_usage_in_bytes" 2>/dev/null || cat "$group/memory.peak" 2>/dev/null || echo 0; }
[[ -n $group ]] && peak_before=$(peak)
choose_program 0
if wait_for 150 test -f "$work/started.txt"; then pass "the Programs item started its program"; else
  fail "the program was not started"; fi
kill -0 "${pids[-1]}" 2>/dev/null && pass "the launcher stays up" || fail "the launcher ended"
if [[ -n $group ]]; then
  grown=$((($(peak) - peak_before) / 1048576))
  ((grown > 50)) && pass "the pre-release wrote memory (peak up $grown MiB)" || fail "the peak grew by $grown MiB only"
fi

# The editor from the Launcher page's "Configure Program List" button: Cancel leaves the
# file byte for byte, and Save of the same list writes the same bytes again.
editor_shown() { xdotool search --onlyvisible --name '^Configure Launcher Programs$' >/dev/null 2>&1; }
editor_gone() { ! editor_shown; }
open_editor() {
  xdotool windowfocus --sync "$window" 2>/dev/null
  opens_menu alt+v || return 1
  local before
  before=$(shown_windows)
  xdotool key l
  wait_for 50 fewer_windows "$before"
  sleep 0.3
  eval "$(xdotool getwindowgeometry --shell "$window")"
  local menubar=$((HEIGHT - 446))  # the client area is 446 pixels high
  xdotool mousemove $((X + 100)) $((Y + menubar + 107 + 220 + 14)) click 1
  wait_for 100 editor_shown
}
cp -p "$app/Launcher.mbl" "$work/before.mbl"
if open_editor; then
  pass "the editor opens"
  xdotool key alt+c
  wait_for 50 editor_gone && cmp -s "$app/Launcher.mbl" "$work/before.mbl" \
    && pass "Cancel closes it and leaves Launcher.mbl as it was" || fail "Cancel changed something"
  touch -d '2001-01-01' "$app/Launcher.mbl"
  if open_editor; then
    xdotool key alt+s
    wait_for 50 editor_gone && [[ $app/Launcher.mbl -nt $work/before.mbl ]] && cmp -s "$app/Launcher.mbl" "$work/before.mbl" \
      && pass "Save writes the same list as the same bytes" || fail "Save wrote other bytes"
  else fail "the editor does not open a second time"; fi
else
  fail "the editor does not open"
fi

# A program added through the real open dialog (its path typed, as a user may) is saved
# as one more CR LF line of 52 blanks and a bar, and gets its own item in the menu.
second="$work/my tools/second tool"
cp "$program" "$second"
dialog_shown() { xdotool search --onlyvisible --name '^Open$' >/dev/null 2>&1; }
# Whether the shown window named by the pattern $1 has the X focus, or is gone.
has_focus() { [[ $(xdotool getwindowfocus 2>/dev/null) == "$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1)" ]]; }
named_gone() { ! xdotool search --onlyvisible --name "$1" >/dev/null 2>&1; }
# Without a window manager nobody hands the focus on, and a busy machine may drop keys sent
# before a window has it: gives the window named $1 the focus, sends the rest of the
# command's keys, and sends them again (three times at most) while the window stays open.
until_closed() {
  local name=$1 try
  shift
  for ((try = 0; try < 3; try++)); do
    xdotool search --onlyvisible --name "$name" windowfocus --sync 2>/dev/null
    wait_for 50 has_focus "$name"
    sleep 0.5
    "$@"
    wait_for 50 named_gone "$name" && return 0
  done
  return 1
}
# Typed over whatever arrived of an earlier try.
enter_path() {
  xdotool key ctrl+a
  xdotool type --delay 20 "$1"
  xdotool key Return
}
if open_editor; then
  xdotool key alt+a
  if wait_for 100 dialog_shown; then
    until_closed '^Open$' enter_path "$second" || fail "the open dialog did not take the typed path"
    until_closed '^Configure Launcher Programs$' xdotool key alt+s || fail "the editor did not close on Save"
    expected=$(printf 'note taker%52s|%s\r\nsecond tool%52s|%s\r\n' '' "$program" '' "$second")
    [[ $(cat "$app/Launcher.mbl") == "$expected" ]] && pass "the dialog's program is saved as the second line" \
      || fail "Launcher.mbl after adding: $(tr "\r" "~" <"$app/Launcher.mbl")"
  else fail "the open dialog does not show"; fi
else fail "the editor does not open for adding"; fi
rm -f "$work/started.txt"
choose_program 1
if wait_for 150 test -f "$work/started.txt" && grep -q "second tool" "$work/started.txt"; then
  pass "the new program's own menu item starts it"; else
  fail "the second menu item started nothing"; fi

# A double click on the page's entry starts the program again, after its pre-release.
rm -f "$work/started.txt"
eval "$(xdotool getwindowgeometry --shell "$window")"
xdotool mousemove $((X + 60)) $((Y + HEIGHT - 446 + 107 + 32 + 9)) click --repeat 2 --delay 80 1
if wait_for 150 test -f "$work/started.txt"; then pass "a double click on the Launcher page's entry started it"; else
  fail "the double click started nothing"; fi
if [[ -n $events ]]; then
  kills=$(awk '/oom_kill / {print $2}' "$events")
  [[ ${kills:-0} == 0 ]] && pass "nothing was OOM-killed" || fail "$kills OOM kill(s)"
fi
exit $failures
