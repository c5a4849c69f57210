#!/bin/bash
# The Linux program started over bad files of its own: settings.ini, Launcher.mbl, error and
# registry.ini each empty, binary garbage, 100 MB, a folder, a link to /dev/zero, unreadable
# or read-only; and a read-only or full program folder. In every case the program comes up
# with its window and no other, an option can be changed (or the failure is logged), a
# release runs, SIGTERM ends it with 0, and no file it did not mean to change is touched.
# Cases run a few at a time, each on an X server and in a memory cgroup of its own.
# Usage: linux_bad_files.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
[[ -x $build/quillmere ]] || { echo "SKIP: quillmere not built"; exit 0; }
for tool in Xvfb xdotool xwininfo openssl perl setpriv; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
source "$here/checks.bash"
source "$here/bad_files.bash"

work=$(mktemp -d /tmp/qm-badfiles.XXXXXX)
chmod 755 "$work"
cp "$build/quillmere" "$work/quillmere"
slots=3
cleanup() {
  jobs -p | xargs -r kill 2>/dev/null
  wait 2>/dev/null
  for mounted in "$work"/*/app; do mountpoint -q "$mounted" && umount -l "$mounted"; done
  rmdir "$work"/cgroups/* 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT

# Root reads and writes every file: the program then runs as "nobody", as users meet rights.
as_user=()
[[ $(id -u) == 0 ]] && as_user=(setpriv --reuid=65534 --regid=65534 --clear-groups --)

# ---- one memory cgroup per case, so a release writes a bounded block we can watch ----------
cgroup_base=""
own=$(awk -F: '$2 == "memory" {print $3}' /proc/self/cgroup)
if [[ -n $own ]] && mkdir "/sys/fs/cgroup/memory${own%/}/qm-bad-$$" 2>/dev/null; then
  cgroup_base="/sys/fs/cgroup/memory${own%/}/qm-bad-$$" cgroup_kind=v1
elif grep -qw memory /sys/fs/cgroup/cgroup.controllers 2>/dev/null; then
  v2="/sys/fs/cgroup$(awk -F: '$1 == "0" {print $3}' /proc/self/cgroup)"
  mkdir "${v2%/}/qm-bad-$$" 2>/dev/null && cgroup_base="${v2%/}/qm-bad-$$" cgroup_kind=v2
  [[ -n $cgroup_base ]] && echo +memory >"$cgroup_base/cgroup.subtree_control" 2>/dev/null
fi
[[ -n $cgroup_base ]] || echo "note: no memory cgroup can be made here; the release step is not watched"
mkdir -p "$work/cgroups"
cleanup_cgroups() { [[ -n $cgroup_base ]] && rmdir "$cgroup_base"/* "$cgroup_base" 2>/dev/null; }
trap 'cleanup_cgroups; cleanup' EXIT

make_cgroup() {  # <case> -> path or nothing
  [[ -n $cgroup_base ]] || return 0
  local group="$cgroup_base/$1"
  mkdir "$group" 2>/dev/null || return 0
  if [[ $cgroup_kind == v1 ]]; then echo 400M >"$group/memory.limit_in_bytes"; else echo 400M >"$group/memory.max"; fi
  echo "$group"
}
peak_grew() { (( $(cgroup_peak "$1") - $2 > 100 * 1048576 )); }  # <group> <peak before>
cgroup_peak() {  # <group>
  if [[ $cgroup_kind == v1 ]]; then cat "$1/memory.max_usage_in_bytes"; else cat "$1/memory.peak" 2>/dev/null || echo 0; fi
}

# ---- the program's window, worked in design twips ----------------------------------------------
main_window_of() {  # <pid>: the visible main window
  local id
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    [[ $(xdotool getwindowname "$id" 2>/dev/null) == "Quillmere v"* ]] && { echo "$id"; return 0; }
  done
  return 1
}
# Every other visible named window: a message box or a crash report would be one.
other_windows_of() {  # <pid>
  local id name
  for id in $(xdotool search --onlyvisible --pid "$1" 2>/dev/null); do
    name=$(xdotool getwindowname "$id" 2>/dev/null)
    [[ -n $name && $name != "Quillmere v"* ]] && echo "$name"
  done
}
click_at_twips() {  # <window> <x> <y>: a point of the shown page (its frame starts 1600 twips down)
  local height
  height=$(xwininfo -id "$1" | awk '/Height:/ {print $2}')
  xdotool mousemove --window "$1" $(($2 / 15)) $(((1600 + $3) / 15 + height - 6690 / 15)) click 1
}

# ---- one case ---------------------------------------------------------------------------------------
# Runs the program over the case's folder and writes what did not hold to $dir/failures.
run_case() {  # <name> <file|folder> <fault> <expectation> <display>
  local name=$1 file=$2 fault=$3 expect=$4
  local dir="$work/$name" app="$work/$name/app"
  export DISPLAY=$5
  prepare_case "$dir" "$file" "$fault" || { echo "the case could not be prepared" >"$dir/failures"; return; }
  local group
  group=$(make_cgroup "$name")
  (
    [[ -n $group ]] && echo $BASHPID >"$group/cgroup.procs"
    cd "$app" && exec "${as_user[@]}" env HOME="$dir/home" XDG_RUNTIME_DIR="$dir/run" \
      XDG_CONFIG_HOME="$dir/config" ./quillmere
  ) >"$dir/out.log" 2>&1 &
  local pid=$!
  work_the_window "$dir" "$pid" "$group" "$file" "$fault"
  end_program "$dir" "$pid"
  compare_snapshots "$dir" "$expect"
}

work_the_window() {  # <dir> <pid> <cgroup> <file> <fault>
  local dir=$1 pid=$2 group=$3 id
  wait_for 300 main_window_of "$pid" >/dev/null || { note "$dir" "no main window: $(head -c 300 "$dir/out.log")"; return; }
  id=$(main_window_of "$pid")
  choose_fourth_amount "$id"
  settings_stored "$dir" "$4" "$5" || choose_fourth_amount "$id"  # a key lost under load
  check_option_stored "$dir" "$4" "$5"
  local before
  [[ -n $group ]] && before=$(cgroup_peak "$group")
  click_at_twips "$id" $((3120 + 1087)) $((2100 + 247))   # "FreeUp RAM Now"
  if [[ -n $group ]]; then
    wait_for 150 peak_grew "$group" "$before" \
      || note "$dir" "the release wrote no block (peak $(( $(cgroup_peak "$group") >> 20 )) MiB)"
  fi
  sleep 0.5
  kill -0 "$pid" 2>/dev/null || note "$dir" "the program ended: $(head -c 300 "$dir/out.log")"
  local others
  others=$(other_windows_of "$pid")
  [[ -z $others ]] || note "$dir" "other windows shown: $others"
}

# The first entry of lstRam, then three down: "8 MB", index 3.
choose_fourth_amount() {  # <window>
  xdotool windowfocus --sync "$1" 2>/dev/null
  click_at_twips "$1" 840 2200
  xdotool key --delay 150 Down Down Down
}

settings_stored() {  # <dir> <file> <fault>
  settings_writable "$2" "$3" && [[ $2 != folder ]] && wait_for 30 holds_line "$1/app/settings.ini" Release=3
}

# RAM/Release holds the new index where the file may be written; where it may not, the
# failure is in the error log (number 75), unless the log cannot be written either.
check_option_stored() {  # <dir> <file> <fault>
  local dir=$1 settings="$1/app/settings.ini"
  case "$2:$3" in
    folder:readonly) settings="$dir/config/quillmere/settings.ini" ;;
    folder:full) return 0 ;;
  esac
  if settings_writable "$2" "$3"; then
    wait_for 50 holds_line "$settings" Release=3 \
      || note "$dir" "RAM/Release=3 not stored: $(tr -d '\r' <"$settings" 2>/dev/null | grep -a Release)"
  else
    wait_for 50 logged_number "$dir/app/error" 75 \
      || note "$dir" "the failed write is not in the error log: $(logged_numbers "$dir/app/error" | tr '\n' ' ')"
  fi
}
settings_writable() { [[ $1 != settings.ini ]] || [[ $2 == empty || $2 == garbage ]]; }

end_program() {  # <dir> <pid>
  kill -TERM "$2" 2>/dev/null
  wait_for 100 bash -c "! kill -0 $2 2>/dev/null" || { note "$1" "SIGTERM did not end it"; kill -9 "$2"; }
  wait "$2"
  local rc=$?
  [[ $rc == 0 ]] || note "$1" "ended with status $rc"
}

# ---- the table -----------------------------------------------------------------------------------------
# Expectation: "same" keeps the file byte for byte; "grows" keeps its bytes as the start of
# what is there after (a write that adds to an empty or garbage file).
cases=()
for fault in empty garbage huge folder devzero unreadable readonly; do
  for file in settings.ini Launcher.mbl error registry.ini; do
    expect=same
    [[ $fault == empty || ($fault == garbage && $file != registry.ini) ]] && [[ $file != Launcher.mbl ]] && expect=grows
    cases+=("$file-$fault $file $fault $expect")
  done
done
cases+=("folder-readonly folder readonly same")
[[ $(id -u) == 0 ]] && cases+=("folder-full folder full grows") || echo "note: not root, no tmpfs for the full folder"

pick_cases
run_cases
