#!/bin/bash
# The Windows program under Wine, started as a user would from a folder with a blank in
# its name on a virtual desktop with a taskbar and tray. A driver of ours works the
# window with messages; the files beside the program and the registry tell the result.
# $1: the build folder holding Quillmere.exe and qm_driver.exe.
set -uo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quillmere}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
"$root/cmake/wine-prefix"

work="$(mktemp -d /tmp/qm-e2e-win.XXXXXX)"
app="$work/Program Files/Quillmere"
mkdir -p "$app"
cp "$build/Quillmere.exe" "$build/qm_driver.exe" "$app/"
desk="qm$$"
run_key='HKLM\Software\Microsoft\Windows\CurrentVersion\Run'
failures=0
xvfb_pid=""
explorer_pids=()

fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
pass() { echo "ok: $*"; }
drv() { timeout 120 wine "$app/qm_driver.exe" "$desk" "$@" 2>&1 | tr -d '\r'; return "${PIPESTATUS[0]}"; }
check() { local what="$1"; shift; if "$@" >/dev/null; then pass "$what"; else fail "$what"; fi; }

start_display() {
    local n
    for n in $(seq 91 140); do
        [[ -e /tmp/.X$n-lock || -e /tmp/.X11-unix/X$n ]] && continue
        Xvfb ":$n" -screen 0 1024x768x24 -nolisten tcp -noreset >/dev/null 2>&1 &
        xvfb_pid=$!
        export DISPLAY=":$n"
        sleep 1
        kill -0 "$xvfb_pid" 2>/dev/null && return 0
    done
    echo "no X display"; exit 1
}

# Started from its own folder, through the desktop's explorer, as a double click would.
launch() {
    wineserver -p30 2>/dev/null  # up before the program and the driver both ask for it
    (cd "$app" && exec wine explorer "/desktop=$desk,1024x768" Quillmere.exe >/dev/null 2>&1) &
    explorer_pids+=($!)
}

cleanup() {
    drv kill >/dev/null 2>&1
    wine reg delete "$run_key" /v Quillmere /f "$reg_view" >/dev/null 2>&1
    for pid in "${explorer_pids[@]}"; do kill "$pid" 2>/dev/null; done
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

ini_value() {  # section key
    tr -d '\r' <"$app/settings.ini" 2>/dev/null |
        awk -F= -v s="[$1]" -v k="$2" '/^\[/{in_s=($0==s)} in_s && $1==k {print substr($0, length(k)+2)}'
}
wait_ini() {  # section key value
    for _ in $(seq 1 50); do [[ "$(ini_value "$1" "$2")" == "$3" ]] && return 0; sleep 0.2; done
    return 1
}
# The registry view of the program's own bitness (a 64-bit program writes the 64-bit view).
reg_view="/reg:32"
[[ $(od -An -tx1 -j$(( $(od -An -tu4 -j60 -N4 "$app/Quillmere.exe") + 4 )) -N2 "$app/Quillmere.exe" | tr -d ' ') == 6486 ]] && reg_view="/reg:64"
run_value() {
    wine reg query "$run_key" /v Quillmere "$reg_view" 2>/dev/null | tr -d '\r' |
        awk '$1=="Quillmere"{$1="";$2="";sub(/^ +/,"");print}'
}
wait_run_value() {  # expected ("" = absent)
    for _ in $(seq 1 30); do [[ "$(run_value)" == "$1" ]] && return 0; sleep 0.3; done
    echo "Run value: '$(run_value)', expected '$1'" >&2
    return 1
}

start_display
wine reg delete "$run_key" /v Quillmere /f "$reg_view" >/dev/null 2>&1
# A launcher list of one program with a blank in its path.
tools="$work/My Tools"
mkdir -p "$tools"
notepad="$(winepath -u 'C:\windows\system32\notepad.exe' 2>/dev/null | tr -d '\r')"
cp "$notepad" "$tools/note pad.exe"
entry="note pad$(printf '%52s' '')|$(winepath -w "$tools/note pad.exe" 2>/dev/null | tr -d '\r')"
printf '%s\r\n' "$entry" >"$app/Launcher.mbl"
cp "$app/Launcher.mbl" "$work/before.mbl"
launch
check "the main window appears" drv wait "" 30000
title="$(drv title)"
[[ $title == Quillmere* ]] && pass "title reads '$title'" || fail "title '$title'"
for _ in $(seq 1 50); do [[ -f "$app/settings.ini" ]] && break; sleep 0.2; done
check "settings.ini is written beside the program" test -f "$app/settings.ini"
check "the graph backgrounds are made beside the program" test -f "$app/graphback.bmp"

# Autostart: the Run value holds the program's path, quoted for its blank.
exe_path="$(winepath -w "$app/Quillmere.exe" 2>/dev/null | tr -d '\r')"
# Pages: the tab strip's click, and the hidden page-caption labels' clicks.
check "the sixth tab shows the Startup/Other page" drv tab 6
check "its autostart box is shown" drv shown "Automatically launch"
check "the About page caption label selects the About page" drv click "About"
sleep 1
check "the About page is shown" drv shown "User Guide"
check "the autostart box is hidden with its page" bash -c "! wine '$app/qm_driver.exe' $desk shown 'Automatically launch'"
drv tab 6 >/dev/null
sleep 1
check "Automatically launch can be clicked" drv click "Automatically launch"
check "the Run value names the program, quoted" wait_run_value "\"$exe_path\""
check "AutoLaunch=1 is stored" wait_ini Startup AutoLaunch 1
drv click "Automatically launch" >/dev/null
check "unchecking removes the Run value" wait_run_value ""

# The launcher: the editor opens modally and Cancel leaves the file; a double click on the
# page's entry starts the program whose path holds a blank.
drv tab 4 >/dev/null
sleep 1
# No pre-release: Wine reports the whole host's memory.
check "Don't Free Up Any RAM can be chosen" drv click "Don't Free Up Any RAM"
check "Configure Program List opens the editor" bash -c "wine '$app/qm_driver.exe' $desk click 'Configure Program List' && wine '$app/qm_driver.exe' $desk on 'Configure Launcher Programs' wait"
check "the editor lists the program" drv on "Configure Launcher Programs" select "$entry"
drv on "Configure Launcher Programs" click "&Cancel" >/dev/null
check "Cancel closes the editor" drv on "Configure Launcher Programs" gone 10000
check "Cancel leaves Launcher.mbl byte for byte" cmp -s "$app/Launcher.mbl" "$work/before.mbl"
check "a double click on the entry starts it" bash -c "wine '$app/qm_driver.exe' $desk dblclick 'note pad' && wine '$app/qm_driver.exe' $desk top Notepad 20000"

# A program added through the real open dialog is saved as the next line. (Its menu item
# is not reached from here: Wine keeps a program's menus to that program.)
cp "$(winepath -u 'C:\windows\regedit.exe' 2>/dev/null | tr -d '\r')" "$tools/reg edit.exe"
second="$(winepath -w "$tools/reg edit.exe" 2>/dev/null | tr -d '\r')"
drv click "Configure Program List" >/dev/null
drv on "Configure Launcher Programs" wait >/dev/null
drv on "Configure Launcher Programs" click "&Add Program" >/dev/null
check "a program is chosen in the open dialog" drv opendialog "$second" 20000
sleep 1
drv on "Configure Launcher Programs" click "&Save && Close" >/dev/null
check "Save & Close closes the editor" drv on "Configure Launcher Programs" gone 10000
printf '%s\r\n%s\r\n' "$entry" "reg edit$(printf '%52s' '')|$second" >"$work/after.mbl"
check "Launcher.mbl holds both entries, CR LF after each" cmp -s "$app/Launcher.mbl" "$work/after.mbl"

# A list choice goes through the model and is stored.
drv tab 1 >/dev/null
sleep 1
check "an amount can be chosen in lstRam" drv select "6 MB"
check "RAM/Release stores the chosen index" wait_ini RAM Release 2

# The close box with "Quit button hides in tray" (on by default) hides; the tray's
# double click (its callback is WM_MOUSEMOVE with 515 in the low word) shows again.
drv close >/dev/null
check "the close box hides the window" drv visible 0 10000
check "the program keeps running hidden" test "$(drv count)" = 1
drv tray 515 >/dev/null
check "a double click on the tray icon shows the window" drv visible 1 10000

# A second start hands over to the running one and ends without a window of its own.
drv click "&Hide" >/dev/null
check "Hide hides the window" drv visible 0 10000
launch
check "a second start brings the hidden window back" drv visible 1 20000
sleep 3
check "the second start made no main window" test "$(drv count)" = 1

sleep 2
import -window root "$build/shot-windows.png" 2>/dev/null && pass "screenshot at $build/shot-windows.png"

# Without the option the close box ends the program.
drv tab 6 >/dev/null
sleep 1
drv click "Enable" >/dev/null
check "Quit=0 is stored" wait_ini Startup Quit 0
drv close >/dev/null
check "the close box ends the program" drv gone 15000

echo "$failures failure(s)"
[[ $failures -eq 0 ]]
