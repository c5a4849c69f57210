#!/bin/bash
# The Windows program started from folders a per-user install or an unpacked zip gets: one
# named with letters outside the ANSI code page ("Иван", "Łukasz"), where it must still keep
# its settings beside itself, and one it may not write (Program Files, here a read-only bind
# mount, which stops root too), where its files go to the user's application data.
# Usage: folder_names.sh <build dir>
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/desktop.bash"

failures=0
fail() { echo "FAIL: $*"; failures=1; }

# Starts the program in $1 (through `$2...` when given), waits until it wrote its settings
# to $3, and ends it.
run_until_settings() {
  local folder=$1 settings=$2
  shift 2
  "$@" sh -c 'cd "$1" && exec wine Quillmere.exe' sh "$folder" >/dev/null 2>&1 &
  wine_pid=$!
  for ((i = 0; i < 600; i++)); do
    grep -q GraphInterval "$settings" 2>/dev/null && break
    sleep 0.1
  done
  wineserver -k 2>/dev/null
  wait "$wine_pid" 2>/dev/null
  wine_pid=
  grep -q GraphInterval "$settings" 2>/dev/null
}

for name in "Иван" "Łukasz"; do
  app="$work/Users/$name/Programs/Quillmere"
  mkdir -p "$app" && cp "$exe" "$app/"
  run_until_settings "$app" "$app/settings.ini" || fail "from '$app' no settings.ini was written beside the program"
done

appdata=$(wine cmd /c echo %APPDATA% 2>/dev/null | tr -d '\r')
appdata=$(winepath -u "$appdata" 2>/dev/null)
[[ -n $appdata ]] || fail "no application-data folder"
locked="$work/Program Files/Quillmere"
mkdir -p "$locked" && cp "$exe" "$locked/"
rm -rf "$appdata/Quillmere"
# The wineserver opens the files, so it starts anew inside the namespace that has the mount.
wineserver -k 2>/dev/null; wineserver -w 2>/dev/null
if unshare -m true 2>/dev/null; then
  run_until_settings "$locked" "$appdata/Quillmere/settings.ini" \
    unshare -m sh -c 'mount --bind "$0" "$0" && mount -o remount,ro,bind "$0" "$0" && exec "$@"' "$locked" ||
    fail "from a read-only folder no settings.ini reached $appdata/Quillmere"
  [[ -z $(ls "$locked" | grep -v '^Quillmere.exe$') ]] || fail "files appeared in the read-only folder: $(ls "$locked")"
else
  echo "note: no mount namespace here, the read-only folder is not tried"
fi
rm -rf "$appdata/Quillmere"

((failures == 0)) && echo "ok: settings were kept from every folder"
exit $failures
