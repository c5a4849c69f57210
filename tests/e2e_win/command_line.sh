#!/bin/bash
# The Windows program's command line under Wine, as a shortcut or a script uses it: the
# output reaches the console it was started from (here captured), a bad line changes
# nothing, and /release hands over to the running copy and prints what was freed.
# Usage: command_line.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/Quillmere.exe"
[[ -f $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb wine wineserver; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A prefix of its own, so ending its wineserver ends nobody else's programs.
export WINEPREFIX="${QM_E2E_WINEPREFIX:-$HOME/.wine-quillmere-e2e}"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
"$here/../../cmake/wine-prefix" || { echo "FAIL: no Wine prefix"; exit 1; }

work=$(mktemp -d /tmp/qm-e2e-win.XXXXXX)
cp "$exe" "$work/Quillmere.exe"
xvfb_pid=
wine_pid=

cleanup() {
  [[ -n $wine_pid ]] && kill "$wine_pid" 2>/dev/null
  wineserver -k 2>/dev/null
  [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# A free display: the server picks its own number and writes it to descriptor 8.
: >"$work/display"
Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp -noreset 8>"$work/display" >/dev/null 2>&1 &
xvfb_pid=$!
display=
for ((i = 0; i < 100; i++)); do
  display=$(tr -dc 0-9 <"$work/display" 2>/dev/null)
  [[ -n $display ]] && break
  sleep 0.1
done
[[ -n $display ]] || { echo "FAIL: Xvfb did not start"; exit 1; }
export DISPLAY=":$display"

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
