#!/bin/bash
# The Windows program's command line under Wine, as a shortcut or a script uses it: the
# output reaches the console it was started from (here captured), a bad line changes
# nothing, and /release hands over to the running copy and prints what was freed.
# Usage: command_line.sh <build dir>
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/desktop.bash"

failures=0
fail() { echo "FAIL: $*"; failures=1; }
q() { (cd "$work" && wine Quillmere.exe "$@"); }

out=$(q --version | tr -d '\r')
[[ $out == "Quillmere v1.0 (build "*Windows* ]] || fail "--version printed '$out'"
q /status | tr -d '\r' | grep -Eq '^Physical memory: [0-9]+ MB total, [0-9]+ MB available\. Page file: .* Processor: [0-9]+%\.$' ||
  fail "/status printed '$(q /status)'"
for bad in /frobnicate /release:abc --release=-1; do
  q "$bad" >/dev/null 2>"$work/err"; status=$?
  ((status == 2)) && grep -q . "$work/err" || fail "$bad: status $status, message '$(cat "$work/err")'"
done
[[ -z $(ls "$work" | grep -v -e '^Quillmere.exe$' -e '^display$' -e '^err$') ]] || fail "a command line wrote files: $(ls "$work")"

# A copy running on the same desktop takes the request and answers when its cycle ends.
(cd "$work" && exec wine Quillmere.exe >/dev/null 2>&1) &
wine_pid=$!
for ((i = 0; i < 600; i++)); do
  [[ -f $work/settings.ini ]] && grep -q "GraphInterval" "$work/settings.ini" && break
  sleep 0.1
done
sleep 2
out=$(q /release:20 | tr -d '\r'); status=$?
((status == 0)) && [[ $out == Released* ]] || fail "/release:20: status $status, '$out'"
q --show; status=$?
((status == 0)) || fail "--show: status $status"
kill -0 "$wine_pid" 2>/dev/null || fail "the running copy ended"
((failures == 0)) && echo "ok: the command line printed, refused and handed over as it should"
exit $failures
