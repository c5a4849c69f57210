#!/bin/bash
# The Windows program under Wine over bad files of its own: settings.ini, Launcher.mbl and
# error together empty, binary garbage, 100 MB, a folder, a link to /dev/zero, held open
# without sharing by another program (Windows's unreadable: the rights of the files do not
# bind Wine run as root), read-only; and a read-only (a read-only bind mount) or full (a
# small tmpfs) program folder. The program comes up with its window and no other, an option
# can be changed where the file allows, a release runs, and no file it did not mean to
# change is touched. (registry.ini is the Linux store: Windows keeps the values in its
# registry.) Cases run a few at a time, each in a Wine prefix and on an X server of its own.
# Usage: bad_files.sh <build dir holding Quillmere.exe and qm_driver.exe>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for file in Quillmere.exe qm_driver.exe; do [[ -f $build/$file ]] || { echo "SKIP: $file not built"; exit 0; }; done
for tool in Xvfb wine wineserver winepath openssl perl; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shared="${WINEPREFIX:-$HOME/.wine-quillmere}"
WINEPREFIX=$shared "$here/../../cmake/wine-prefix" || { echo "FAIL: no Wine prefix"; exit 1; }
source "$here/../e2e/checks.bash"
program=Quillmere.exe
source "$here/../e2e/bad_files.bash"

work=$(mktemp -d /tmp/qm-badfiles-win.XXXXXX)
cp "$build/Quillmere.exe" "$build/qm_driver.exe" "$work/"
slots=3
cleanup() {
  local prefix
  for prefix in "$work"/*/prefix; do WINEPREFIX=$prefix wineserver -k 2>/dev/null; done
  jobs -p | xargs -r kill 2>/dev/null
  wait 2>/dev/null
  for mounted in "$work"/*/app; do mountpoint -q "$mounted" && umount -l "$mounted"; done
  rm -rf "$work"
}
trap cleanup EXIT

# A prefix of the case's own (its own wineserver, so the single-instance mutex and the
# sharing of files are the case's alone), on the shared prefix's registry and drive C.
clone_prefix() {  # <prefix>
  mkdir -p "$1/dosdevices"
  cp "$shared"/{system.reg,user.reg,userdef.reg,.update-timestamp,.quillmere-ready} "$1/"
  ln -s "$shared/drive_c" "$1/drive_c"
  ln -s ../drive_c "$1/dosdevices/c:"
  ln -s / "$1/dosdevices/z:"
}

drv() { timeout 120 wine "$work/qm_driver.exe" "$desk" "$@" 2>>"$dir/driver.log" | tr -d '\r'; return "${PIPESTATUS[0]}"; }
windows_path() { winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# ---- one case ---------------------------------------------------------------------------------------
run_case() {  # <name> <files|folder> <fault> <expectation> <display>
  local name=$1 dir="$work/$1" app="$work/$1/app" desk="qm$1"
  export DISPLAY=$5 WINEPREFIX="$work/$1/prefix"
  prepare_case "$dir" "$2" "$3" || { note "$dir" "the case could not be prepared"; return; }
  [[ $2:$3 == folder:readonly ]] && { mount --bind "$app" "$app" && mount -o remount,ro,bind "$app" || note "$dir" "no read-only mount"; }
  clone_prefix "$WINEPREFIX"
  wineserver -p30 2>/dev/null  # up before the program and the driver both ask for it
  [[ $3 == locked ]] && lock_files "$dir"
  (cd "$app" && exec wine explorer "/desktop=$desk,1024x768" Quillmere.exe >/dev/null 2>&1) &
  if wait_for 1200 drv wait "" 60000 >/dev/null; then work_the_window "$dir" "$2" "$3"
  else note "$dir" "no main window: $(tail -c 300 "$dir/driver.log" 2>/dev/null)"; fi
  drv kill >/dev/null
  wineserver -k 2>/dev/null
  [[ $2:$3 == folder:readonly ]] && umount "$app"
  compare_snapshots "$dir" "$4"
}

# Each file is held open without sharing by a driver of the case's own prefix.
lock_files() {  # <dir>
  local name
  for name in $(case_files files); do
    : >"$1/lock-$name"
    wine "$work/qm_driver.exe" lock "$(windows_path "$1/app/$name")" 180000 >"$1/lock-$name" 2>/dev/null &
    wait_for 200 grep -q locked "$1/lock-$name" || note "$1" "$name could not be locked"
  done
}

work_the_window() {  # <dir> <files|folder> <fault>
  local dir=$1 settings="$1/app/settings.ini"
  # On the full folder Wine rewrites settings.ini in the room its page still has: the
  # choice would change the file it is meant to keep, so none is made there.
  [[ $3 != full ]] && { wait_for 100 drv select "100 MB" >/dev/null || note "$dir" "lstRam takes no choice"; }
  # An empty or a garbage file takes the change (garbage keeps its bytes, the key is added).
  if [[ $2 == files && ($3 == empty || $3 == garbage) ]]; then
    wait_for 100 holds_line "$settings" Release=49 || note "$dir" "RAM/Release=49 not stored"
  fi
  drv click "FreeUp RAM Now" >/dev/null || note "$dir" "FreeUp RAM Now cannot be clicked"
  sleep 3
  [[ $(drv count) == 1 ]] || note "$dir" "the program is not running with one main window"
  # Wine's own tray window may come and go while explorer starts; it is no dialog of ours.
  local others
  others=$(drv windows | grep -v -e '^Quillmere v' -e '^Wine System Tray$')
  [[ -z $others ]] || note "$dir" "other windows shown: $others"
}

# ---- the table -------------------------------------------------------------------------------------------
cases=()
for fault in empty garbage huge folder devzero locked readonly; do
  expect=same
  [[ $fault == empty || $fault == garbage ]] && expect=grows
  cases+=("files-$fault files $fault $expect")
done
if [[ $(id -u) == 0 ]]; then
  cases+=("folder-readonly folder readonly same" "folder-full folder full grows")
else
  echo "note: not root, no read-only mount or tmpfs for the program folder cases"
fi

pick_cases
run_cases
