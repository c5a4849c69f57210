#!/bin/bash
# The Windows program as a user meets it: a copy in a folder of its own, started on a Wine
# desktop (which has a taskbar with a tray) on a private X server. Passes when the first
# start writes its settings beside the executable with the default graph interval.
# Usage: windows_desktop.sh <build dir>
set -uo pipefail

source "$(dirname "${BASH_SOURCE[0]}")/desktop.bash"

(cd "$work" && exec wine explorer /desktop=q,1024x768 "$work/Quillmere.exe" >/dev/null 2>&1) &
wine_pid=$!

settings="$work/settings.ini"
for ((i = 0; i < 600; i++)); do
  [[ -f $settings ]] && grep -q "GraphInterval=1.5" "$settings" && break
  sleep 0.1
done
[[ -f $settings ]] || { echo "FAIL: no settings.ini beside the program after 60 s"; exit 1; }
if ! grep -q "GraphInterval=1.5" "$settings"; then
  echo "FAIL: settings.ini lacks GraphInterval=1.5:"; cat "$settings"; exit 1
fi
echo "ok: first start wrote settings.ini with GraphInterval=1.5"
exit 0
