# Sourced by the end-to-end scripts of the Windows program: the program copied into a
# folder of its own ($work), a Wine prefix of its own and a private X server. Expects $1, the
# build dir; sets build, exe, here, work, xvfb_pid, wine_pid and DISPLAY, and cleans up at exit.
build=$(cd "${1:?build dir}" && pwd)
exe="$build/Quillmere.exe"
[[ -f $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb wine wineserver; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
here=$(cd "$(dirname "${BASH_SOURCE[1]}")" && pwd)

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
