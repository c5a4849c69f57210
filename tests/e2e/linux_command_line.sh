#!/bin/bash
# The Linux program's command line as a script or a key binding uses it: no display is
# needed, a bad line changes nothing, and --release frees memory with and without a copy
# running (in a small memory cgroup where one can be made: the block is really written and
# nothing is OOM-killed).
# Usage: linux_command_line.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }

work=$(mktemp -d /tmp/qm-cli.XXXXXX)
mkdir -p "$work/app" "$work/run" "$work/config"
chmod 700 "$work/run"
cp "$exe" "$work/app/quillmere"
group="" pid=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  [[ -n $group ]] && rmdir "$group" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() { echo "FAIL: $*"; failures=1; }
# No display at all: only the window needs one.
q() { env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM= XDG_RUNTIME_DIR="$work/run" \
  XDG_CONFIG_HOME="$work/config" "$work/app/quillmere" "$@"; }

out=$(q --version) && [[ $out == "Quillmere v1.0 (build "* ]] || fail "--version printed '$out'"
q --help | grep -q -- '--release\[=MB\]' || fail "--help names no --release"
q --status | grep -Eq '^Physical memory: [0-9]+ MB total, [0-9]+ MB available\. Page file: .* Processor: [0-9]+%\.$' ||
  fail "--status printed '$(q --status)'"
q --status --json | python3 -c 'import json,sys; d=json.load(sys.stdin); assert d["physical_total_mb"] > 0' ||
  fail "--status --json is no JSON object of the figures"
for bad in --frobnicate --release=abc --release=-1 --release=99999999 "--json"; do
  q "$bad" >/dev/null 2>"$work/err"; status=$?
  ((status == 2)) && (($(wc -l <"$work/err") == 1)) || fail "$bad: status $status, message '$(cat "$work/err")'"
done
q --release >/dev/null 2>"$work/err"; status=$?
((status == 2)) && grep -q 'needs a number' "$work/err" || fail "--release without a copy: status $status"
[[ -z $(ls "$work/app" | grep -v '^quillmere$') ]] || fail "a command line wrote files: $(ls "$work/app")"

# A small memory cgroup for the program and its writers, where one can be made.
limit=$((512 * 1024 * 1024))
kind=""
own=$(awk -F: '$2 == "memory" {print $3}' /proc/self/cgroup)
v1="/sys/fs/cgroup/memory${own%/}/qm-cli-$$"
if [[ -n $own ]] && mkdir "$v1" 2>/dev/null && echo "$limit" >"$v1/memory.limit_in_bytes"; then
  group=$v1 kind=v1
elif grep -qw memory /sys/fs/cgroup/cgroup.controllers 2>/dev/null; then
  g="/sys/fs/cgroup$(awk -F: '$1 == "0" {print $3}' /proc/self/cgroup)"
  g="${g%/}/qm-cli-$$"
  mkdir "$g" 2>/dev/null && echo "$limit" >"$g/memory.max" && group=$g kind=v2
fi
in_group() { if [[ -n $group ]]; then (echo $BASHPID >"$group/cgroup.procs" && "$@"); else "$@"; fi; }
peak() {
  case $kind in
    v1) cat "$group/memory.max_usage_in_bytes" ;;
    v2) cat "$group/memory.peak" 2>/dev/null || echo 0 ;;
    *) echo 0 ;;
  esac
}
ooms() {
  case $kind in
    v1) awk '/oom_kill / {print $2}' "$group/memory.oom_control" ;;
    v2) awk '/oom_kill / {print $2}' "$group/memory.events" ;;
    *) echo 0 ;;
  esac
}

# Without a copy running: one cycle here, without a window.
before=$(peak)
out=$(in_group q --release=50) && [[ $out == Released* ]] || fail "--release=50 alone printed '$out'"
[[ -z $group ]] || (($(peak) - before > 100 * 1048576)) || fail "the windowless release wrote less than 100 MiB"

# With a copy running: the request goes to it and comes back when its cycle ends.
(in_group env XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" QT_QPA_PLATFORM=offscreen \
  "$work/app/quillmere") >"$work/app.log" 2>&1 &
pid=$!
sleep 3
q --release=50 >"$work/first" 2>&1 &
first=$!
sleep 0.3
q --release=50 >/dev/null 2>"$work/second"; status=$?
((status == 3)) || fail "a request during a cycle: status $status ($(cat "$work/second"))"
wait "$first"; status=$?
((status == 0)) && grep -q '^Released' "$work/first" || fail "the hand-over: status $status, '$(cat "$work/first")'"
kill -0 "$pid" 2>/dev/null || fail "the running copy ended"
[[ $(ooms) == 0 ]] || fail "$(ooms) OOM kill(s)"
echo "cgroup ${kind:-none}, peak $(($(peak) / 1048576)) MiB, OOM kills $(ooms)"
exit $failures
