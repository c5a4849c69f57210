#!/bin/bash
# The Linux program in the user's language, as a screen reader reads it: under real
# de_DE.UTF-8 and fr_FR.UTF-8 locales (made with localedef), its pages, buttons and menus
# speak German and French, option buttons and check boxes are announced as such and the
# graphs as images with their purpose; the settings.ini it writes is the one it writes in
# English.
# Usage: linux_languages.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
for tool in Xvfb xdotool dbus-daemon localedef; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
py=/usr/bin/python3
"$py" -c 'import pyatspi' 2>/dev/null || { echo "SKIP: python3-pyatspi missing"; exit 0; }
here=$(dirname "${BASH_SOURCE[0]}")
source "$here/desktop_session.bash"
start_x

start_accessibility_bus
export LOCPATH="$work/locales"
mkdir -p "$LOCPATH"
for l in de_DE fr_FR; do localedef -i "$l" -f UTF-8 "$LOCPATH/$l.UTF-8" 2>/dev/null || { fail "localedef $l"; finish; }; done

# Runs the program fresh in <LANG>, saves what the reader hears to heard.<name> and the
# settings it wrote to settings.<name>.
read_in() {  # name lang
  rm -f "$app"/*.ini "$app"/*.bmp
  (cd "$app" && LANGUAGE= LC_ALL= LC_MESSAGES= LANG=$2 exec ./quillmere >"$work/program.log" 2>&1) &
  local pid=$!
  wait_for 100 grep -qs GraphInterval "$app/settings.ini" || fail "$1: no settings.ini: $(cat "$work/program.log")"
  timeout 60 "$py" "$here/screen_reader_names.py" Quillmere 20 all >"$work/heard.$1" 2>"$work/reader.err" ||
    fail "$1: the reader found nothing: $(cat "$work/reader.err")"
  kill "$pid"; wait "$pid" 2>/dev/null
  cp "$app/settings.ini" "$work/settings.$1"
  [[ -n ${QM_KEEP_HEARD:-} ]] && cp "$work/heard.$1" "/tmp/heard.$1"
}
heard() { grep -qxF "$2" "$work/heard.$1"; }
expect() {  # name what line...
  local name=$1 what=$2 line; shift 2
  for line in "$@"; do heard "$name" "$line" || { fail "$name: $what: '$line' not heard"; return; }; done
  pass "$name: $what"
}

read_in en C.UTF-8
read_in de de_DE.UTF-8
read_in fr fr_FR.UTF-8

expect en "roles and purposes" $'radio button\t10% of My Total RAM' $'check box\tAuto Release Active' \
  $'image\tAvailable Physical Memory Graph' $'push button\tFreeUp RAM Now' $'page tab\tHistory Graphs'
expect de "German pages, buttons and menus" $'page tab\tRAM freigeben' $'push button\tRAM jetzt freigeben' \
  $'menu item\tDatei' $'menu item\tAnsicht' $'push button\tAusblenden' $'image\tVerfügbarer physischer Speicher'
expect fr "French pages, buttons and menus" $'page tab\tAutomatique' $'menu item\tFichier' $'push button\tMasquer' \
  $'push button\tLibérer la RAM'
heard de $'push button\tFreeUp RAM Now' && fail "de: an English button is still heard"
for name in de fr; do
  diff -q "$work/settings.en" "$work/settings.$name" >/dev/null && pass "$name: settings.ini as in English" ||
    fail "$name: settings.ini differs: $(diff "$work/settings.en" "$work/settings.$name" | head -5)"
done
finish
