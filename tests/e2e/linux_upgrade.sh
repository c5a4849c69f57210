#!/bin/bash
# The Linux program finishing an upgrade over its starts, as the update window leaves it:
# a downloaded "qmx" beside the program and the state "b". Starting qmx puts it in place
# of the program and starts that; the program then removes qmx, goes back to idle, thanks
# the user once and opens the upgrade page. Killed at any moment, the download's start
# leaves the program file whole.
# Usage: linux_upgrade.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb xdotool xwininfo; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done

work=$(mktemp -d /tmp/qm-upgrade.XXXXXX)
app="$work/My Apps/Quillmere"
mkdir -p "$app" "$work/run" "$work/config" "$work/bin"
chmod 700 "$work/run"
pids=()

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  local running
  running=$(pgrep -f "^$app/quillmere" || true)
  [[ -n $running ]] && kill $running 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"

# A new build that differs from the old program (an ELF file runs with bytes appended).
printf 'a newer build' | cat "$exe" - > "$work/new-build"
chmod +x "$work/new-build"

start_x

cat > "$work/bin/xdg-open" <<'OPEN'
#!/bin/sh
echo "$1" >> "$OPENED"
OPEN
chmod +x "$work/bin/xdg-open"
export OPENED="$work/opened.txt" PATH="$work/bin:$PATH"
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QUILLMERE_SITE="https://mirror.test"

stored() { grep -a "\"$1\"" "$app/registry.ini" | head -1; }
replaced() { cmp -s "$app/quillmere" "$work/new-build"; }
download_gone() { [[ ! -e $app/qmx ]]; }

seed() {  # the state the update window leaves
  cp "$work/new-build" "$app/qmx"
  printf '[HKLM\\Software\\Microsoft\\Quillmere]\r\n"ver"="7"\r\n"Up"="b"\r\n"donreq"="z"\r\n' > "$app/registry.ini"
}
none_running() { ! pgrep -f "^$app/" >/dev/null; }
stop_all() {
  local running
  running=$(pgrep -f "^$app/" || true)
  [[ -n $running ]] && kill $running 2>/dev/null
  wait_for 100 none_running
}
one_of_the_builds() { cmp -s "$app/quillmere" "$exe" || cmp -s "$app/quillmere" "$work/new-build"; }

# ---- the download's start killed at any moment leaves a runnable program ---------
for delay in 0 0.02 0.05 0.1 0.2 0.4; do
  cp "$exe" "$app/quillmere"
  seed
  "$app/qmx" >/dev/null 2>&1 &
  victim=$!
  sleep "$delay"
  kill -9 "$victim" 2>/dev/null
  wait "$victim" 2>/dev/null
  stop_all  # a restarted program, when the kill came late
  if one_of_the_builds && [[ -x $app/quillmere ]]; then
    pass "killed after ${delay}s: the program file is one whole build"
  else
    fail "killed after ${delay}s: the program file is damaged"
  fi
done
cp "$exe" "$app/quillmere"
# What a killed writer leaves is removed by the next start: one as the kills above may have
# left it, named for the killed process, and half a program long.
head -c 1000000 "$exe" > "$app/.quillmere.qmtmp-$victim-Ab3xYz"
leftovers() { ls -A "$app" | grep -c 'qmtmp-'; }
echo "temporaries left by the kills: $(( $(leftovers) - 1 ))"
seed

# ---- the download's start: replace and restart --------------------------------
"$app/qmx" >"$work/qmx.log" 2>&1 &
qmx=$!
pids+=("$qmx")
wait_for 150 replaced && pass "the program file is the new build" || fail "the program was not replaced"
wait_for 100 bash -c "! kill -0 $qmx 2>/dev/null" && pass "the download's start ended" || fail "qmx still runs"

# ---- the new program's start: clean up and thank once ----------------------------
thanks() { xdotool search --onlyvisible --name '^Quillmere$' 2>/dev/null | head -1; }
thanks_shown() { [[ -n $(thanks) ]]; }
wait_for 150 download_gone && pass "the download was removed" || fail "qmx is still there"
box=""
wait_for 150 thanks_shown && box=$(thanks)
if [[ -n $box ]]; then
  pass "a thank-you box is shown"
  xdotool windowfocus "$box" 2>/dev/null; xdotool key --window "$box" Return 2>/dev/null; xdotool key Return
else
  fail "no thank-you box"
fi
wait_for 100 grep -q "https://mirror.test/upgrade.php" "$OPENED" 2>/dev/null \
  && pass "the upgrade page was opened" || fail "no upgrade page: $(cat "$OPENED" 2>/dev/null)"
[[ $(stored Up) == '"Up"="a"' ]] && pass "the state is idle again" || fail "state: $(stored Up)"
[[ -z $(stored donreq) ]] && pass "the thank-you request is gone" || fail "donreq: $(stored donreq)"
wait_for 100 test -S "$work/run/quillmere.socket" && pass "the new program runs" || fail "the new program does not run"
[[ -x $app/quillmere ]] && pass "the program file is runnable" || fail "the program file lost its mode"
# The new start sweeps them after it has taken the instance's socket.
no_leftovers() { [[ $(leftovers) == 0 ]]; }
wait_for 100 no_leftovers && pass "the killed writers' temporaries are gone" || fail "left: $(ls -A "$app")"

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
