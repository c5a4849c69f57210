#!/bin/bash
# The Windows test-key build under Wine against a real HTTPS site on 127.0.0.1, in a Wine
# prefix of its own whose machine root store trusts the test CA (added as an administrator
# would). A whole upgrade over three starts through Help > Check for Updates..., starts
# that find the upgrade cut off between two of its steps, then refusals, each leaving
# Quillmere.exe byte-identical and the program running. Runs for the win32 and win64 trees.
# Usage: update_install.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
for helper in qm_driver.exe qm_menu_probe.dll qm_add_root_cert.exe; do
  [[ -f $build/$helper ]] || { echo "SKIP: $helper not built"; exit 0; }
done
update_host=wine exe="$build/Quillmere_testkey.exe" program_file=Quillmere.exe
# The download and the registry view follow the program's machine type (0x8664: x86-64).
program_path=qmxupdate.exe reg_view=/reg:32
if [[ -f $exe && $(od -An -tx1 -j$(($(od -An -tu4 -j60 -N4 "$exe") + 4)) -N2 "$exe" | tr -d ' ') == 6486 ]]; then
  program_path=qmxupdate64.exe reg_view=/reg:64
fi
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
shared="${WINEPREFIX:-$HOME/.wine-quillmere}"
WINEPREFIX="$shared" "$here/../../cmake/wine-prefix" || { echo "FAIL: no Wine prefix"; exit 1; }
# Only ever the private prefix: the shared one may serve other runs. What outlives the
# server's own kill (a wedged server) is killed by its environment.
stop_programs() {
  [[ ${WINEPREFIX:-} == "$work/prefix" ]] || return 0
  wineserver -k 2>/dev/null
  timeout 30 wineserver -w 2>/dev/null && return 0
  grep -lsz "^WINEPREFIX=$WINEPREFIX\$" /proc/[0-9]*/environ | cut -d/ -f3 | xargs -r kill -9
}
# A server that stays up: a program and the driver starting together would otherwise
# race to start one, which now and then leaves both hanging.
own_server() { wineserver -p 2>/dev/null; }
source "$here/../e2e/update_site.bash"

# A private prefix: the registry files copied, the (read-mostly) drive linked file by file.
export WINEPREFIX="$work/prefix"
mkdir -p "$WINEPREFIX"
cp -al "$shared/drive_c" "$WINEPREFIX/"
cp -a "$shared/dosdevices" "$shared"/*.reg "$shared/.update-timestamp" "$WINEPREFIX/" 2>/dev/null
cp "$build/qm_driver.exe" "$build/qm_menu_probe.dll" "$build/qm_add_root_cert.exe" "$work/"
own_server
openssl x509 -in "$work/ca.pem" -outform DER -out "$work/ca.der"
wine "$work/qm_add_root_cert.exe" "$(winepath -w "$work/ca.der" 2>/dev/null | tr -d '\r')" \
  && pass "the test CA is a trusted root of the prefix" || fail "the test CA could not be added"

desk="qmupd$$"
key='HKLM\Software\Microsoft\Quillmere'
# A call that hangs is cut off after drv_limit seconds, so that a wait can try it again.
drv() { timeout "${drv_limit:-120}" wine "$work/qm_driver.exe" "$desk" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
stored() { timeout 60 wine reg query "$key" /v "$1" $reg_view 2>/dev/null | tr -d '\r' | awk -v n="$1" '$1 == n {print $3}'; }
store() { timeout 60 wine reg add "$key" /v "$1" /d "$2" /f $reg_view >/dev/null 2>&1; }
running() { [[ $(drv count) -ge 1 ]]; }
replaced() { cmp -s "$app/Quillmere.exe" "$work/new-build"; }
# Started from its own folder on the test desktop, as a double click would.
launch() { (cd "$app" && exec wine explorer "/desktop=$desk,1024x768" Quillmere.exe >/dev/null 2>&1) & }

# The driver's last answer is kept for a failure's message.
chose_check_for_updates() { drv_limit=30 drv menu Help "Check for Updates..." > "$work/menu.out"; }
# Starts the program, chooses Help > Check for Updates... and presses Proceed.
check_for_update() {
  launch
  drv wait "" 30000 >/dev/null || { fail "$1: no main window"; return 1; }
  wait_for 900 chose_check_for_updates \
    || { fail "$1: no Help > Check for Updates...: $(cat "$work/menu.out"), windows: $(drv windows | tr '\n' '|')"; return 1; }
  drv on AutoUpdate wait "" 10000 >/dev/null || { fail "$1: the update window did not open"; return 1; }
  drv on AutoUpdate click Proceed >/dev/null
}

# ---- the whole upgrade over three starts -------------------------------------------
publish "$work/new-build"
check_for_update "the upgrade" || exit 1
wait_for 600 replaced && pass "Quillmere.exe is the new build" \
  || fail "Quillmere.exe was not replaced: $(ls "$app"), rows: $(drv on AutoUpdate rows | tr '\n' '|') $(site_state)"
drv answer Quillmere 30000 >/dev/null && pass "the new program thanks the user" || fail "no thank-you box"
wait_for 150 test ! -e "$app/qmx.exe" && pass "the download was removed" || fail "qmx.exe is still there"
wait_for 100 grep -q "$QUILLMERE_SITE/upgrade.php" "$work/opened.txt" 2>/dev/null \
  && pass "the upgrade page was opened" || fail "no upgrade page: $(cat "$work/opened.txt" 2>/dev/null)"
drv wait "" 30000 >/dev/null && [[ $(drv count) == 1 ]] && pass "one program runs after the upgrade" \
  || fail "running after the upgrade: $(drv windows | tr '\n' '|')"
[[ $(stored Up) == a ]] && pass "the state is idle again" || fail "Up: '$(stored Up)'"
[[ $(stored ver) == 7 ]] && pass "the new version is recorded" || fail "ver: '$(stored ver)'"
replaced && pass "Quillmere.exe is still the new build" || fail "Quillmere.exe changed after the upgrade"
stop_programs

# ---- an upgrade cut off between two of its steps leaves a program that starts --------
# cut_off <state> <program file> <download or "">: what a process killed right
# after one step leaves; then the user starts Quillmere.exe.
cut_off() {
  stop_programs
  own_server
  cp "$2" "$app/Quillmere.exe"
  rm -f "$app/qmx.exe"
  [[ -z $3 ]] || cp "$3" "$app/qmx.exe"
  store ver 7; store Up "$1"; store donreq z
  launch
}
# The thank-you box, when this start finishes an upgrade, is answered as a user would.
started() {
  local drv_limit=30
  drv answer Quillmere 0 >/dev/null; drv wait "" 0 >/dev/null
}
upgraded() { replaced && [[ ! -e $app/qmx.exe && $(stored Up) == a ]]; }
# after_cut <case> <what holds then> <its check>...
after_cut() {
  local name=$1 outcome=$2; shift 2
  wait_for 600 started && pass "killed $name: the program starts" || { fail "killed $name: no program"; return; }
  wait_for 150 "$@" && pass "killed $name: $outcome" || fail "killed $name: not $outcome: $(ls "$app"), Up: $(stored Up)"
}
kept_original() { cmp -s "$app/Quillmere.exe" "$work/original" && [[ $(stored Up) == a ]]; }
cut_off a "$work/original" "$work/new-build"
after_cut "after saving the download, before recording it" "the old build, idle" kept_original
cut_off b "$work/original" "$work/new-build"
after_cut "before the download was started" "the upgrade finished" upgraded
cut_off b "$work/new-build" "$work/new-build"
after_cut "after the replacing, before recording it" "the upgrade finished" upgraded
cut_off c "$work/new-build" "$work/new-build"
after_cut "before the replaced program was started" "the upgrade finished" upgraded
cut_off c "$work/new-build" ""
after_cut "after the download was removed" "the upgrade finished" upgraded
stop_programs

# ---- refusals -------------------------------------------------------------------------
openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$work/stranger.pem" 2>/dev/null
# This build with the other Windows machine type in its header: signed by the trusted key,
# so the machine type alone is at fault.
cp "$work/new-build" "$work/other.exe"
other_machine='\x64\x86'
[[ $program_path == qmxupdate64.exe ]] && other_machine='\x4c\x01'
printf "$other_machine" | dd of="$work/other.exe" bs=1 conv=notrunc \
  seek=$(($(od -An -tu4 -j60 -N4 "$work/other.exe") + 4)) 2>/dev/null
shows_row() { drv on AutoUpdate rows | grep -qxF "$1"; }
# refused <case> <a request the check must have made, or ""> <the reason the window gives, or "">
#   [the row the check ends with]
refused() {
  local name=$1 expected=$2 reason=$3 row=${4:-The new version could not be downloaded.}
  cp "$work/original" "$app/Quillmere.exe"
  rm -f "$app/qmx.exe"
  own_server
  wine reg delete "$key" /f $reg_view >/dev/null 2>&1
  : > "$work/requests.log"
  check_for_update "$name" || { stop_programs; return; }
  wait_for 300 shows_row "$row" \
    || fail "$name: the check did not end with \"$row\": $(drv on AutoUpdate rows | tr '\n' '|') $(site_state)"
  if cmp -s "$app/Quillmere.exe" "$work/original" && [[ ! -e $app/qmx.exe && $(stored Up) != b ]] && running; then
    pass "$name: refused, Quillmere.exe unchanged and the program running"
    if [[ -n $expected ]]; then
      grep -q "$expected" "$work/requests.log" && pass "$name: the check asked for $expected" \
        || fail "$name: no request for $expected: $(tr '\n' ' ' < "$work/requests.log")"
    fi
    if [[ -n $reason ]]; then
      local shown
      shown=$(drv on AutoUpdate status)
      [[ $shown == "$reason" ]] && pass "$name: the window says \"$reason\"" || fail "$name: the window says \"$shown\""
    fi
    grep -q '^plain ' "$work/requests.log" && fail "$name: a request went out over plain HTTP: $(grep '^plain ' "$work/requests.log" | head -1)"
  else
    fail "$name: $(ls "$app"), Up: $(stored Up)"
  fi
  stop_programs
}
publish "$work/new-build"; rm "$www/$program_path"
# WinINet asks for the headers with a GET.
refused "a missing program (404)" "GET /$program_path " "The new version was not found."
publish "$work/new-build"; echo $(( $(stat -c %s "$work/new-build") + 4096 )) > "$www/$program_path.length"
refused "a body cut short" "GET /$program_path " "The download was incomplete."
publish "$work/new-build" "$work/stranger.pem"
refused "a signature of an untrusted key" "GET /$program_path.sig" "The download is not signed by Quillmere."
publish "$work/original"; cp "$work/new-build" "$www/$program_path"
refused "a trusted signature over other bytes" "GET /$program_path.sig" "The download is not signed by Quillmere."
publish "$work/other.exe"
refused "a program for another platform" "GET /$program_path " "The download is no program for this computer."
publish "$work/new-build"; touch "$www/$program_path.redirect"
refused "a redirect to plain HTTP" "GET /$program_path " "The new version was not found."
publish "$work/new-build"
thumbprint=$(openssl x509 -in "$work/ca.pem" -noout -fingerprint -sha1 | sed 's/.*=//; s/://g')
wine reg delete 'HKLM\Software\Microsoft\SystemCertificates\Root\Certificates\'"$thumbprint" /f $reg_view >/dev/null 2>&1 \
  || fail "the test CA could not be removed from the root store"
refused "an untrusted certificate" "" "" "You are currently not conneted to the Internet"

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
