#!/bin/bash
# A start-up release of the Linux program inside a small memory cgroup: one wait after the
# start the memory is really written, nothing is OOM-killed, and the program stays up.
# Skips (exit 0 with a message) where no memory cgroup can be made.
# Usage: startup_release_cgroup.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }

limit=$((256 * 1024 * 1024))
own=$(awk -F: '$2 == "memory" {print $3}' /proc/self/cgroup)
v1="/sys/fs/cgroup/memory${own%/}/qm-e2e-$$"
v2root=/sys/fs/cgroup
group="" kind=""
if [[ -n $own ]] && mkdir "$v1" 2>/dev/null; then
  echo "$limit" >"$v1/memory.limit_in_bytes" && group=$v1 kind=v1
elif grep -qw memory "$v2root/cgroup.controllers" 2>/dev/null; then
  v2="$v2root$(awk -F: '$1 == "0" {print $3}' /proc/self/cgroup)"
  v2="${v2%/}/qm-e2e-$$"
  if mkdir "$v2" 2>/dev/null && echo "$limit" >"$v2/memory.max"; then group=$v2 kind=v2; fi
fi
[[ -n $group ]] || { echo "SKIP: no writable memory cgroup on this machine"; exit 0; }

work=$(mktemp -d /tmp/qm-cg.XXXXXX)
mkdir -p "$work/app" "$work/run" "$work/config"
chmod 700 "$work/run"
cp "$exe" "$work/app/quillmere"
# 512 MB (entry 256) after a wait of 3 s (entry 2), two tries (entry 1); the other
# triggers off so that only the start-up release runs.
printf '[Startup]\r\nRelease=256\r\nWait=2\r\nRetry=1\r\nDisplay=0\r\n[Auto]\r\nActive=0\r\n[Time]\r\nActive=0\r\n' \
  >"$work/app/settings.ini"
pid=""
cleanup() {
  [[ -n $pid ]] && kill "$pid" 2>/dev/null && wait "$pid" 2>/dev/null
  rmdir "$group" 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

peak() {
  if [[ $kind == v1 ]]; then cat "$group/memory.max_usage_in_bytes"; else cat "$group/memory.peak" 2>/dev/null || echo 0; fi
}
oom_kills() {
  if [[ $kind == v1 ]]; then awk '/oom_kill / {print $2}' "$group/memory.oom_control"; else
    awk '/oom_kill / {print $2}' "$group/memory.events"; fi
}

# The program goes into the group before it starts, and its helper children with it.
(echo $BASHPID >"$group/cgroup.procs" &&
  exec env QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config" \
    "$work/app/quillmere") >"$work/out.log" 2>&1 &
pid=$!

sleep 2
before=$(peak)
sleep 8
after=$(peak)
kills=$(oom_kills)
failures=0
echo "cgroup $kind, peak before the wait: $((before / 1048576)) MiB, after: $((after / 1048576)) MiB, OOM kills: ${kills:-?}"
if kill -0 "$pid" 2>/dev/null; then echo "ok: the program stays up"; else echo "FAIL: the program ended"; failures=1; fi
if ((after - before > 100 * 1048576)); then echo "ok: the memory was really written"; else
  echo "FAIL: the peak did not grow by 100 MiB"; failures=1; fi
if [[ ${kills:-0} == 0 ]]; then echo "ok: nothing was OOM-killed"; else echo "FAIL: $kills OOM kill(s)"; failures=1; fi
exit $failures
