#!/bin/bash
# The Debian package as a user meets it: installed with apt-get, the installed program's
# command line and manual page, its window started by a user with a fresh home, who finds
# its settings in ~/.config/quillmere and an update window that leaves updating to the
# package manager (it contacts no site, where a portable copy of the same program does),
# then a purge that leaves none of the package's files behind.
# The package is quillmere_<version>_amd64.deb in the build dir or in dist/ (scripts/package
# deb), or QM_PACKAGE. Needs root or sudo without a password; as root, the program runs as
# nobody, since root may write /usr/bin and would keep its files there.
# Usage: linux_package.sh <build dir>
set -uo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build=$(cd "${1:?build dir}" && pwd)
deb=${QM_PACKAGE:-$(ls -t "$build"/quillmere_*_amd64.deb "$root"/dist/quillmere_*_amd64.deb 2>/dev/null | head -1)}
[[ -n $deb && -f $deb ]] || { echo "SKIP: no quillmere_*_amd64.deb in $build or $root/dist (scripts/package deb)"; exit 0; }
deb=$(readlink -f "$deb")
for tool in apt-get dpkg Xvfb xdotool xwininfo python3 setpriv lexgrog man col; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
if [[ $(id -u) == 0 ]]; then
  as_root() { "$@"; }
elif sudo -n true 2>/dev/null; then
  as_root() { sudo -n "$@"; }
else
  echo "SKIP: installing a package needs root or sudo without a password"; exit 0
fi
installed() { [[ $(dpkg-query -W -f='${Status}' quillmere 2>/dev/null) == "install ok installed" ]]; }
installed && { echo "SKIP: quillmere is installed on this machine already; the test would remove it"; exit 0; }

source "$(dirname "${BASH_SOURCE[0]}")/checks.bash"
work=$(mktemp -d /tmp/qm-package.XXXXXX)
chmod 755 "$work"
pids=()
we_installed=0
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  ((we_installed)) && installed && as_root apt-get remove --purge -y -qq quillmere >/dev/null 2>&1
  rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 1' TERM INT  # a timeout's kill still purges what it installed

# The user who runs the program: the caller, or nobody when that is root.
user_id=$(id -u)
group_id=$(id -g)
[[ $user_id == 0 ]] && { user_id=$(id -u nobody); group_id=$(id -g nobody); }
home="$work/home"
mkdir -p "$home" "$work/run"
chmod 700 "$work/run"
as_root chown -R "$user_id:$group_id" "$home" "$work/run"
# The command prefix that runs a program as that user, in the fresh home; each command execs
# the next, so a program started in the background keeps the pid $! names.
user_prefix() {
  prefix=()
  [[ $(id -u) == "$user_id" ]] || prefix=(setpriv --reuid="$user_id" --regid="$group_id" --clear-groups)
  # In English, whatever the caller's language: the checks read its texts and menus.
  prefix+=(env -u XDG_CONFIG_HOME -u LANGUAGE LC_ALL=C.UTF-8 HOME="$home" XDG_RUNTIME_DIR="$work/run" PATH=/usr/bin:/bin
    DISPLAY="${DISPLAY:-}" QUILLMERE_SITE="${QUILLMERE_SITE:-}" QT_QPA_PLATFORM=xcb)
}
as_user() { user_prefix; "${prefix[@]}" "$@"; }

# ---- install -------------------------------------------------------------------------
if as_root env DEBIAN_FRONTEND=noninteractive apt-get install -y -qq -o DPkg::Lock::Timeout=300 "$deb" \
    >"$work/install.log" 2>&1; then
  we_installed=1
  pass "apt-get installed $(basename "$deb")"
else
  fail "apt-get install failed: $(tail -5 "$work/install.log")"; exit 1
fi
installed || { fail "dpkg does not list quillmere as installed"; exit 1; }
mapfile -t files < <(dpkg -L quillmere | while read -r f; do [[ -f $f || -L $f ]] && echo "$f"; done)
expected=(/usr/bin/quillmere /usr/share/applications/quillmere.desktop /usr/share/metainfo/quillmere.metainfo.xml
  /usr/share/man/man1/quillmere.1.gz /usr/share/doc/quillmere/copyright /usr/share/icons/hicolor/scalable/apps/quillmere.svg)
for size in 16 22 24 32 48 64 128 256; do expected+=("/usr/share/icons/hicolor/${size}x$size/apps/quillmere.png"); done
missing=0
for f in "${expected[@]}"; do
  [[ " ${files[*]} " == *" $f "* ]] || { fail "the package has no $f"; missing=1; }
done
((missing)) || pass "the package installed ${#files[@]} files: the program, its menu entry, icons, metainfo, manual page, copyright"

# ---- the command line and the manual page ----------------------------------------------
version=$(as_user quillmere --version 2>&1); rc=$?
[[ $rc == 0 && $version == "Quillmere v"*"Linux)" ]] && pass "quillmere --version: $version" \
  || fail "quillmere --version ended with $rc: $version"
status=$(as_user quillmere --status 2>&1); rc=$?
[[ $rc == 0 && $status =~ ^Physical\ memory:\ [1-9][0-9]*\ MB\ total,\ [0-9]+\ MB\ available\..*Processor:\ [0-9]+%\.$ ]] \
  && pass "quillmere --status: $status" || fail "quillmere --status ended with $rc: $status"
# (The program's folder in ~/.config may be made, empty, when the program looks for it.)
[[ -z $(find "$home" ! -type d) ]] || fail "the command line wrote into the home folder: $(find "$home" ! -type d)"

whatis=$(LC_ALL=C.UTF-8 lexgrog /usr/share/man/man1/quillmere.1.gz 2>&1)
[[ $whatis == *'"quillmere - '* ]] && pass "the manual page has a NAME line: ${whatis#*: }" || fail "lexgrog: $whatis"
page=$(LC_ALL=C.UTF-8 MANWIDTH=200 man -l /usr/share/man/man1/quillmere.1.gz 2>&1 | col -b)
for option in $(as_user quillmere --help | grep -oE '^  --[a-z]+'); do
  grep -qE "^ +$option" <<<"$page" || fail "the manual page does not list $option"
done

# ---- the window, as a user ---------------------------------------------------------------
start_x
window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
main_shown() { [[ -n $(window_of '^Quillmere v') ]]; }
update_shown() { [[ -n $(window_of '^AutoUpdate$') ]]; }
# The update site: a listener that notes each connection and answers none.
python3 -c 'import socket, sys
s = socket.socket(); s.bind(("127.0.0.1", 0)); s.listen(8)
open(sys.argv[1], "w").write(str(s.getsockname()[1]))
while True:
    c, _ = s.accept(); open(sys.argv[2], "a").write("connection\n"); c.close()' "$work/port" "$work/connections" &
pids+=($!)
wait_for 50 test -s "$work/port" || { fail "the listener did not start"; exit 1; }
export QUILLMERE_SITE="https://127.0.0.1:$(cat "$work/port")"
contacted() { [[ -s $work/connections ]]; }

# check_for_updates <program>: starts it, opens Help > Check for Updates... and presses
# Proceed, as tests/e2e/update_site.bash does; leaves it running as $program.
check_for_updates() {
  : >"$work/connections"
  user_prefix
  "${prefix[@]}" "$1" >"$work/program.log" 2>&1 &
  program=$!
  pids+=("$program")
  wait_for 150 main_shown || { fail "$1: no main window: $(cat "$work/program.log")"; return 1; }
  local main update
  main=$(window_of '^Quillmere v')
  xdotool mousemove --window "$main" 90 10 click 1
  sleep 0.7
  xdotool mousemove --window "$main" 164 76 click 1
  wait_for 50 update_shown || { fail "$1: the update window did not open"; return 1; }
  update=$(window_of '^AutoUpdate$')
  xdotool mousemove --window "$update" $(((3240 + 667) / 15)) $(((3660 + 187) / 15)) click 1
}
stop_program() {
  kill "$program" 2>/dev/null
  wait_for 100 bash -c "! kill -0 $program 2>/dev/null" || kill -9 "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}

# A portable copy of the same program may replace itself, so its check goes to the site:
# that shows the window was driven as it should be.
portable="$home/Portable/quillmere"
as_user mkdir -p "$home/Portable"
as_user cp /usr/bin/quillmere "$portable"
if check_for_updates "$portable"; then
  wait_for 150 contacted && pass "a portable copy's update check contacts the site" \
    || fail "a portable copy's update check did not contact the site"
fi
stop_program
as_user rm -rf "$home/Portable"

ls -A /usr/bin >"$work/usr-bin-before"
if check_for_updates /usr/bin/quillmere; then
  sleep 5  # as long as the portable copy's check may take to connect
  if contacted; then fail "the installed program's update check contacted the site"
  else pass "the installed program's update check leaves updating to the package manager"; fi
fi
config="$home/.config/quillmere"
wait_for 100 test -f "$config/settings.ini" && pass "settings.ini is in \$HOME/.config/quillmere" \
  || fail "no settings.ini in $config: $(ls -A "$config" 2>&1)"
grep -q '^\[Memory\]' "$config/settings.ini" 2>/dev/null || fail "settings.ini: $(head -c 300 "$config/settings.ini" 2>&1)"
[[ $(stat -c %u "$config/settings.ini" 2>/dev/null) == "$user_id" ]] || fail "settings.ini does not belong to the user"
stop_program
diff <(ls -A /usr/bin) "$work/usr-bin-before" >/dev/null && pass "nothing was written beside /usr/bin/quillmere" \
  || fail "files appeared in /usr/bin: $(diff <(ls -A /usr/bin) "$work/usr-bin-before")"

# ---- purge ---------------------------------------------------------------------------------
if as_root env DEBIAN_FRONTEND=noninteractive apt-get remove --purge -y -qq -o DPkg::Lock::Timeout=300 quillmere \
    >"$work/remove.log" 2>&1; then
  pass "apt-get removed and purged quillmere"
else
  fail "apt-get remove --purge failed: $(tail -5 "$work/remove.log")"
fi
[[ -z $(dpkg-query -W -f='${Status}' quillmere 2>/dev/null | grep -v '^unknown ok not-installed') ]] \
  || fail "dpkg still knows quillmere: $(dpkg-query -W -f='${Status}' quillmere)"
left=()
for f in "${files[@]}"; do [[ -e $f || -L $f ]] && left+=("$f"); done
[[ ${#left[@]} == 0 ]] && pass "none of the package's ${#files[@]} files is left" || fail "left after the purge: ${left[*]}"
[[ -f $config/settings.ini ]] && pass "the user's own settings stay in their home" || fail "the purge removed the user's settings"

[[ $failures == 0 ]] && echo "PASS" || echo "$failures failure(s)"
exit $((failures > 0))
