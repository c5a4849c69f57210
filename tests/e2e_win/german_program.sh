#!/bin/bash
# The Windows program for a German Windows user (Wine takes the user's locale and display
# language from LANG; a de_DE.UTF-8 locale is made with localedef): its buttons and pages
# are German, and the settings.ini it writes is the one an English user's copy writes.
# Usage: german_program.sh <build dir>
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/desktop.bash"
command -v localedef >/dev/null || { echo "SKIP: no localedef"; exit 0; }
[[ -f $build/qm_driver.exe ]] || { echo "SKIP: qm_driver.exe not built"; exit 0; }
cp "$build/qm_driver.exe" "$work/"
export LOCPATH="$work/locales"
mkdir -p "$LOCPATH"
localedef -i de_DE -f UTF-8 "$LOCPATH/de_DE.UTF-8" >/dev/null 2>&1 || { echo "FAIL: localedef"; exit 1; }

failures=0
fail() { echo "FAIL: $*"; failures=1; }
desk="qmde$$"
drv() { timeout 60 wine "$work/qm_driver.exe" "$desk" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }

# Runs the program in <lang> until it wrote its settings, checks that each of the captions
# given shows, then keeps its settings.ini as settings.<name>.
run_in() {  # name lang caption...
  local name=$1 lang=$2 caption
  shift 2
  rm -f "$work"/*.ini "$work"/*.bmp
  wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
  (cd "$work" && LANG=$lang LC_ALL= exec wine explorer "/desktop=$desk,1024x768" Quillmere.exe >/dev/null 2>&1) &
  wine_pid=$!
  for ((i = 0; i < 600; i++)); do grep -qs GraphInterval "$work/settings.ini" && break; sleep 0.1; done
  drv wait >/dev/null || fail "$name: no main window"
  for caption in "$@"; do drv shown "$caption" >/dev/null || fail "$name: \"$caption\" does not show"; done
  [[ $name == en ]] || ! drv shown "FreeUp RAM Now" >/dev/null || fail "$name: the English button shows"
  cp "$work/settings.ini" "$work/settings.$name" 2>/dev/null || fail "$name: no settings.ini"
  wineserver -k 2>/dev/null
  wait "$wine_pid" 2>/dev/null
  wine_pid=
}

run_in en C.UTF-8 "FreeUp RAM Now" "&Hide"
run_in de de_DE.UTF-8 "RAM jetzt freigeben" "A&usblenden" "Alles &pausieren"
diff <(tr -d '\r' <"$work/settings.en") <(tr -d '\r' <"$work/settings.de") >/dev/null ||
  fail "settings.ini differs: $(diff "$work/settings.en" "$work/settings.de" | head -4)"
((failures == 0)) && echo "ok: German captions for a German user, the same settings.ini"
exit $failures
