#!/bin/bash
# A whole upgrade of the Linux test-key build through its window: Help > Check for Updates,
# Proceed, the signed download from a real HTTPS site, and the three starts that follow
# (the download's start replaces the program and restarts it; that start cleans up and
# thanks the user once). At the end the running program is the new build, and at no moment
# in between was the program file missing or anything but one of the two builds.
# Usage: linux_update_install.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/update_site.bash"

publish "$work/new-build"
# Samples the program file every few milliseconds while the upgrade runs.
watch_program() {
  local size_old size_new size
  size_old=$(stat -c %s "$work/original"); size_new=$(stat -c %s "$work/new-build")
  while :; do
    size=$(stat -c %s "$app/quillmere" 2>/dev/null || echo missing)
    [[ -x $app/quillmere && ($size == "$size_old" || $size == "$size_new") ]] || echo "$size" >> "$work/lost"
    sleep 0.005
  done
}
watch_program &
pids+=($!)

check_for_update "the upgrade" || exit 1
replaced() { cmp -s "$app/quillmere" "$work/new-build"; }
wait_for 300 replaced && pass "the program file is the new build" || fail "the program was not replaced"
[[ $(stored ver) == '"ver"="7"' ]] && pass "the new version is recorded" || fail "ver: $(stored ver)"

thanks() { xdotool search --onlyvisible --name '^Quillmere$' 2>/dev/null | head -1; }
thanks_shown() { [[ -n $(thanks) ]]; }
box=""
wait_for 200 thanks_shown && box=$(thanks)
if [[ -n $box ]]; then
  pass "the new program thanks the user"
  xdotool windowfocus "$box" 2>/dev/null; xdotool key --window "$box" Return 2>/dev/null; xdotool key Return
else
  fail "no thank-you box"
fi
wait_for 100 test ! -e "$app/qmx" && pass "the download was removed" || fail "qmx is still there"
wait_for 100 grep -q "$QUILLMERE_SITE/upgrade.php" "$work/opened.txt" 2>/dev/null \
  && pass "the upgrade page was opened" || fail "no upgrade page"
[[ $(stored Up) == '"Up"="a"' ]] && pass "the state is idle again" || fail "state: $(stored Up)"

# The one program left running is the new build, from the program file.
running_new() {
  local pid
  pid=$(pgrep -f "^$app/" | head -1)
  [[ -n $pid && $(pgrep -fc "^$app/") == 1 ]] || return 1
  [[ $(readlink "/proc/$pid/exe") == "$app/quillmere" ]] && cmp -s "/proc/$pid/exe" "$work/new-build"
}
wait_for 100 running_new && pass "the running program is the new build" \
  || fail "running: $(pgrep -fa "^$app/"; for p in $(pgrep -f "^$app/"); do readlink /proc/$p/exe; done)"
kill "$program" 2>/dev/null
[[ ! -e $work/lost ]] && pass "the program file was whole at every moment" \
  || fail "the program file was missing or partial: $(sort -u "$work/lost" | tr '\n' ' ')"
[[ $(ls "$app" | grep -c '\.tmp') == 0 ]] && pass "no temporary is left" || fail "left: $(ls -a "$app")"

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
