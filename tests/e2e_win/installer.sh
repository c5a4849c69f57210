#!/bin/bash
# The per-user installer under Wine, as users and administrators run it: a silent install
# (files, Start-menu entry, uninstall entry), the installed program started once, an
# upgrade over it that renews the program's files and leaves the user's alone, one refused
# while the program runs, and the silent uninstalls: the plain one keeps the user's files,
# /PURGE removes them but nothing else in the folder; both remove the autostart value of
# this copy only.
# The installer is dist/Quillmere-<version>-setup.exe (scripts/package installer), or QM_INSTALLER.
# Usage: installer.sh <build dir>
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
setup=${QM_INSTALLER:-$(ls -t "$root"/dist/Quillmere-*-setup.exe 2>/dev/null | head -1)}
[[ -n $setup && -f $setup ]] || { echo "SKIP: no installer in $root/dist (scripts/package installer)"; exit 0; }
version=$(basename "$setup" | sed -n 's/^Quillmere-\(.*\)-setup\.exe$/\1/p')
# A prefix of its own: installing writes the user's registry and Start menu.
export QM_E2E_WINEPREFIX="${QM_INSTALLER_WINEPREFIX:-$HOME/.wine-quillmere-installer}"
source "$(dirname "${BASH_SOURCE[0]}")/desktop.bash"

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }

uninstall_key='HKCU\Software\Microsoft\Windows\CurrentVersion\Uninstall\Quillmere'
run_key='Software\Microsoft\Windows\CurrentVersion\Run'
win_path() { wine cmd /c echo "$1" 2>/dev/null | tr -d '\r'; }
inst_win="$(win_path %LOCALAPPDATA%)\\Programs\\Quillmere"
inst=$(winepath -u "$inst_win" 2>/dev/null)
shortcut="$(winepath -u "$(win_path %APPDATA%)" 2>/dev/null)/Microsoft/Windows/Start Menu/Programs/Quillmere.lnk"
[[ -n $inst && $inst == /* ]] || { echo "FAIL: no local application-data folder in the prefix"; exit 1; }

# A value of the uninstall entry ("" when it or the entry is missing).
entry_value() {
  wine reg query "$uninstall_key" /v "$1" 2>/dev/null | tr -d '\r' |
    awk -v name="$1" '$1 == name { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
entry_exists() { wine reg query "$uninstall_key" >/dev/null 2>&1; }
run_value() {  # root [view]
  wine reg query "$1\\$run_key" /v Quillmere "${@:2}" 2>/dev/null | tr -d '\r' |
    awk '$1 == "Quillmere" { $1 = ""; $2 = ""; sub(/^ +/, ""); print }'
}
# Silent runs end before the prefix settles (the uninstaller goes on from a copy of itself
# in the temporary folder): wait until every program of the prefix has ended.
settle() { timeout 120 wineserver -w 2>/dev/null; }
run_setup() { (cd "$work" && timeout 180 wine "$setup" "$@" >/dev/null 2>&1); local rc=$?; settle; return $rc; }
uninstall() {
  local command
  command=$(entry_value UninstallString)
  [[ $command == \"*\" ]] || { fail "UninstallString is not a quoted path: '$command'"; return 1; }
  command=${command#\"}; command=${command%\"}
  (cd "$work" && timeout 180 wine "$command" "$@" >/dev/null 2>&1)
  settle
}
# Checksums of the files the program and its user keep in the folder.
user_files=(settings.ini Launcher.mbl error graphback.bmp cpuback.bmp)
sums() { (cd "$inst" && md5sum "${user_files[@]}" 2>&1); }

# From a clean prefix: an earlier run may have ended halfway.
wine reg delete "$uninstall_key" /f >/dev/null 2>&1
rm -rf "$inst" "$shortcut"

# ---- silent install ------------------------------------------------------------
run_setup /S && pass "the silent install ended with 0" || fail "the silent install ended with $?"
for f in Quillmere.exe uninstall.exe README.txt LICENSE.txt; do
  [[ -s $inst/$f ]] || fail "$f is not in $inst"
done
[[ $(head -c 2 "$inst/Quillmere.exe" 2>/dev/null) == MZ ]] && pass "the program is in $inst_win" \
  || fail "no Windows program at $inst/Quillmere.exe"
[[ -f $shortcut ]] && pass "the Start menu has Quillmere" || fail "no shortcut at $shortcut"
[[ $(entry_value DisplayName) == Quillmere ]] || fail "DisplayName: '$(entry_value DisplayName)'"
[[ $(entry_value DisplayVersion) == "$version" ]] || fail "DisplayVersion: '$(entry_value DisplayVersion)', not $version"
[[ $(entry_value InstallLocation) == "$inst_win" ]] || fail "InstallLocation: '$(entry_value InstallLocation)'"
[[ $(entry_value UninstallString) == "\"$inst_win\\uninstall.exe\"" ]] || fail "UninstallString: '$(entry_value UninstallString)'"
[[ -n $(entry_value Publisher) ]] || fail "no Publisher"
for flag in NoModify NoRepair; do
  [[ $(entry_value "$flag") == 0x1 ]] || fail "$flag: '$(entry_value "$flag")'"
done
pass "the uninstall entry names the copy: $(entry_value DisplayName) $(entry_value DisplayVersion)"

# ---- the installed program writes its settings beside itself ------------------------
(cd "$inst" && exec wine Quillmere.exe) >/dev/null 2>&1 &
wine_pid=$!
wait_settings() { grep -q GraphInterval "$inst/settings.ini" 2>/dev/null; }
for ((i = 0; i < 600; i++)); do wait_settings && break; sleep 0.1; done
wait_settings && pass "the installed program wrote settings.ini beside itself" \
  || fail "no settings.ini in $inst: $(ls "$inst")"

# An upgrade cannot replace a running program: it must give up before it changes anything.
before=$(md5sum "$inst/Quillmere.exe" | cut -d' ' -f1)
if kill -0 "$wine_pid" 2>/dev/null; then
  (cd "$work" && timeout 180 wine "$setup" /S >/dev/null 2>&1)
  rc=$?
  [[ $rc != 0 ]] && pass "an upgrade over the running program gives up (status $rc)" \
    || fail "an upgrade over the running program ended with 0"
  [[ $(md5sum "$inst/Quillmere.exe" | cut -d' ' -f1) == "$before" ]] || fail "the refused upgrade changed Quillmere.exe"
else
  fail "the installed program did not keep running"
fi
wineserver -k 2>/dev/null
wait "$wine_pid" 2>/dev/null
wine_pid=
settle

# ---- upgrade: the program's files renewed, the user's kept -------------------------
marker="kept-$$-$RANDOM"
printf '[Packaging]\r\nMarker=%s\r\n' "$marker" >> "$inst/settings.ini"
printf 'C:\\windows\\notepad.exe\r\n' > "$inst/Launcher.mbl"
[[ -f $inst/error ]] || printf 'an error log\r\n' > "$inst/error"
for f in graphback.bmp cpuback.bmp; do [[ -f $inst/$f ]] || printf 'BM' > "$inst/$f"; done
kept=$(sums)
cp "$inst/uninstall.exe" "$inst/Quillmere.exe"   # as if an older program were installed
printf 'an older README\r\n' > "$inst/README.txt"
run_setup /S && pass "the silent upgrade ended with 0" || fail "the silent upgrade ended with $?"
[[ $(sums) == "$kept" ]] && pass "the upgrade left settings.ini, Launcher.mbl, error and the backgrounds as they were" \
  || fail "the upgrade changed the user's files: $(diff <(echo "$kept") <(sums))"
grep -q "Marker=$marker" "$inst/settings.ini" && pass "the marker in settings.ini survived the upgrade" \
  || fail "the marker is gone from settings.ini"
cmp -s "$inst/Quillmere.exe" "$inst/uninstall.exe" && fail "the upgrade did not replace Quillmere.exe"
grep -q 'an older README' "$inst/README.txt" && fail "the upgrade did not replace README.txt"

# ---- silent uninstall keeps the user's files ---------------------------------------
other='C:\Other Apps\Quillmere\Quillmere.exe'   # another copy's autostart value, not ours to take
wine reg add "HKLM\\$run_key" /v Quillmere /d "$inst_win\\Quillmere.exe" /f /reg:32 >/dev/null 2>&1
wine reg add "HKCU\\$run_key" /v Quillmere /d "\"$other\"" /f >/dev/null 2>&1
[[ -n $(run_value HKLM /reg:32) && -n $(run_value HKCU) ]] || fail "the autostart values could not be set"
uninstall /S
for f in Quillmere.exe uninstall.exe README.txt LICENSE.txt; do
  [[ -e $inst/$f ]] && fail "the uninstall left $f"
done
[[ -e $shortcut ]] && fail "the uninstall left the Start-menu shortcut"
entry_exists && fail "the uninstall entry is still there"
[[ $(sums) == "$kept" ]] && pass "the silent uninstall kept the user's files" \
  || fail "the silent uninstall changed the user's files: $(ls -A "$inst" 2>&1)"
[[ -z $(run_value HKLM /reg:32) ]] || fail "the autostart value of this copy is left: $(run_value HKLM /reg:32)"
[[ $(run_value HKCU) == "\"$other\"" ]] || fail "another copy's autostart value went: '$(run_value HKCU)'"
wine reg delete "HKCU\\$run_key" /v Quillmere /f >/dev/null 2>&1
pass "the silent uninstall removed the program, its shortcut and its entry"

# ---- /PURGE removes what the program wrote, and only that ---------------------------
run_setup /S || fail "the second install ended with $?"
printf 'my own notes\r\n' > "$inst/notes.txt"
uninstall /S /PURGE
left=$(ls -A "$inst" 2>&1)
[[ $left == notes.txt ]] && pass "/PURGE removed the program's files and left the user's own" \
  || fail "after /PURGE the folder holds: $left"
entry_exists && fail "the uninstall entry is still there after /PURGE"
rm -rf "$inst"

((failures == 0)) && echo "PASS" || echo "$failures failure(s)"
exit $((failures > 0))
