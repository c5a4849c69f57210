# Sourced by the end-to-end scripts: a work folder with a portable copy of the program, an
# X server of its own, and the checks' bookkeeping. Needs $build set to the build folder.
work=$(mktemp -d /tmp/qm-e2e.XXXXXX)
app="$work/Quillmere"
mkdir -p "$app" "$work/run" "$work/config"
chmod 700 "$work/run"
cp "$build/quillmere" "$app/quillmere"
pids=()
export XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"

cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"

finish() { [[ $failures == 0 ]] && echo "PASS" || echo "$failures failure(s)"; exit $(( failures > 0 )); }


# The title of the program's main window (a named window larger than an icon).
main_title() {
  local id
  for id in $(xdotool search --classname '^quillmere$' 2>/dev/null); do
    local name
    name=$(xdotool getwindowname "$id" 2>/dev/null)
    [[ $name == Quillmere* ]] && { echo "$name"; return 0; }
  done
  return 1
}

# A value of settings.ini beside the program: ini_value <section> <key>.
ini_value() {  # the file has Windows line ends, as the profile functions write it
  tr -d '\r' 2>/dev/null <"$app/settings.ini" |
    awk -F= -v s="[$1]" -v k="$2" '/^\[/{in_s=($0==s)} in_s && $1==k {print substr($0, length(k)+2)}'
}

# A private session bus, which starts the accessibility bus when first asked, and the Qt
# settings that put the program on it: as a screen reader or a UI robot meets it.
start_accessibility_bus() {
  dbus-daemon --session --nofork --nopidfile --print-address=1 >"$work/bus" 2>/dev/null &
  pids+=($!)
  wait_for 50 test -s "$work/bus" || { fail "no session bus"; finish; }
  export DBUS_SESSION_BUS_ADDRESS=$(head -1 "$work/bus")
  export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 NO_AT_BRIDGE=0
}
