# The bad files of the program folder and their snapshots (sourced by the bad-files scripts
# of both desktops; not a test of its own). Needs $work holding the program as
# $work/$program.
program=${program:-quillmere}

# What did not hold in a case, one a line in its folder.
note() { echo "$2" >>"$1/failures"; }

# A well-formed file of each kind, as the program or its user would leave it.
healthy_text() {  # <file>
  case "$1" in
    settings.ini) printf '[Memory]\r\nGraphInterval=1.5\r\n[RAM]\r\nRelease=3\r\n' ;;
    Launcher.mbl) printf 'note pad%52s|/bin/true\r\n' '' ;;
    error) scrambled_entry "frmMain,test" 53 "File not found" ;;
    registry.ini) printf '; Quillmere'"'"'s registry values (Linux). One [key] per section.\n\n[HKCU\\Software\\Quillmere Test]\n"note"="kept"\n' ;;
  esac
}

# One line of the error log: three quoted fields, each character's code raised by 17.
scrambled_entry() {  # <context> <number> <description>
  perl -e 'print join(",", map { my $f = $_; $f =~ s/(.)/chr(ord($1) + 17)/ge; "\"$f\"" } @ARGV), "\r\n"' "$@"
}

# The error numbers the log holds, one a line.
logged_numbers() {  # <error file>
  perl -ne 'my @f = /"([^"]*)"/g; next unless @f >= 2; (my $n = $f[1]) =~ s/(.)/chr(ord($1) - 17)/ge; print "$n\n"' "$1" 2>/dev/null
}

holds_line() { tr -d '\r' <"$1" 2>/dev/null | grep -aqx "$2"; }  # <file> <line>
logged_number() { logged_numbers "$1" | grep -qx "$2"; }        # <error file> <number>

# 64 KB of the same binary garbage every time: NULs, CRs, LFs and everything else.
garbage() {
  head -c 65536 /dev/zero | openssl enc -aes-128-ctr -nosalt -K 0 -iv 0 2>/dev/null
}

# Puts the file into the fault's state.
apply_fault() {  # <path> <file> <fault>
  case "$3" in
    empty) : >"$1" ;;
    garbage) garbage >"$1" ;;
    huge) healthy_text "$2" >"$1" && truncate -s 100M "$1" ;;  # sparse: costs no disk
    locked) healthy_text "$2" >"$1" ;;  # the Windows script holds it open without sharing
    folder) mkdir "$1" && echo kept >"$1/inside" ;;
    devzero) ln -s /dev/zero "$1" ;;
    unreadable) healthy_text "$2" >"$1" && chmod 000 "$1" ;;
    readonly) healthy_text "$2" >"$1" && chmod 444 "$1" ;;
  esac
}

# What a path is, for the comparison after the run: its kind, rights, length and bytes.
describe() {  # <path>
  if [[ -L $1 ]]; then echo "link to $(readlink "$1")"
  elif [[ -d $1 ]]; then echo "folder $(stat -c %a "$1") $(cd "$1" && find . -printf '%P %s %m\n' | sort | md5sum)"
  elif [[ -f $1 ]]; then echo "file $(stat -c '%a %s' "$1") $(sha256sum <"$1")"
  else echo "nothing"
  fi
}

# The files a case puts into its state: one, the three every desktop keeps ("files"), or
# the four healthy ones of a bad program folder.
case_files() {  # <file>
  case "$1" in
    files) echo settings.ini Launcher.mbl error ;;
    folder) echo settings.ini Launcher.mbl error registry.ini ;;
    *) echo "$1" ;;
  esac
}

# The files a case watches: its own, or everything in a bad program folder.
watched() {  # <dir> <file>
  if [[ $2 == folder ]]; then
    (cd "$1/app" && ls -A | grep -vx "$program")
  else
    case_files "$2"
  fi
}

# A small tmpfs just large enough for the program, filled to the last byte after the files.
mount_full_folder() {  # <app folder>
  local size=$(( $(stat -c %s "$work/$program") / 1024 + 512 ))
  mount -t tmpfs -o "size=${size}k" tmpfs "$1" || return 1
  cp "$work/$program" "$1/$program"
}
fill_folder() { dd if=/dev/zero of="$1/filler" bs=4k >/dev/null 2>&1; sync; }

# The case's folder: the program, the files in their state, handed to the user that runs it,
# and the snapshot of what it must keep.
prepare_case() {  # <dir> <file> <fault>
  local dir=$1 app=$1/app name
  mkdir -p "$app" "$dir/run" "$dir/home" "$dir/config" "$dir/orig"
  chmod 700 "$dir/run"
  if [[ $3 == full ]]; then mount_full_folder "$app" || return 1
  else ln "$work/$program" "$app/$program" 2>/dev/null || cp "$work/$program" "$app/$program"; fi
  for name in $(case_files "$2"); do
    if [[ $2 == folder ]]; then healthy_text "$name" >"$app/$name"; else apply_fault "$app/$name" "$name" "$3"; fi
  done
  [[ $(id -u) == 0 ]] && chown -hR 65534:65534 "$app" "$dir/run" "$dir/home" "$dir/config"
  [[ $3 == full ]] && fill_folder "$app"
  [[ $2:$3 == folder:readonly ]] && chmod 555 "$app"
  for name in $(watched "$dir" "$2"); do
    printf '%s\t%s\n' "$name" "$(describe "$app/$name")" >>"$dir/before"
    [[ -f $app/$name && ! -L $app/$name && $(stat -c %s "$app/$name") -le 65536 ]] && cp -p "$app/$name" "$dir/orig/"
  done
  return 0
}

# Every line of the old text is still a line of the new one (a rewrite in place that added keys).
keeps_lines() {  # <old> <new>
  [[ -z $(grep -avxFf <(tr -d '\r' <"$2") <(tr -d '\r' <"$1")) ]]
}

# "same": every watched file is as it was; "grows": a file may have gained bytes at its end.
compare_snapshots() {  # <dir> <expectation>
  local dir=$1 name before after
  while IFS=$'\t' read -r name before; do
    after=$(describe "$dir/app/$name")
    [[ $after == "$before" ]] && continue
    if [[ $2 == grows && -f $dir/orig/$name && -f $dir/app/$name ]] &&
       { cmp -s -n "$(stat -c %s "$dir/orig/$name")" "$dir/orig/$name" "$dir/app/$name" || keeps_lines "$dir/orig/$name" "$dir/app/$name"; }; then
      continue
    fi
    note "$dir" "$name changed: was $before, is $after"
  done <"$dir/before"
}

# Runs every case of $cases ("<name> <file> <fault> <expectation>") through the script's
# run_case, $slots at a time, each slot on an X server of its own; then reports them in
# table order and ends the script with the result.
run_cases() {
  local start=$SECONDS k entry name
  for ((k = 0; k < slots; k++)); do run_slot "$k" & done
  wait
  for entry in "${cases[@]}"; do
    name=${entry%% *}
    if [[ -s $work/$name/failures ]]; then fail "$name: $(paste -sd ';' "$work/$name/failures")"; else pass "$name"; fi
  done
  echo "$((SECONDS - start)) s for ${#cases[@]} cases"
  [[ $failures == 0 ]] && echo "PASS" || echo "$failures failure(s)"
  exit $((failures > 0))
}

# Slot k runs every slots-th case.
run_slot() {  # <k>
  : >"$work/display-$1"
  Xvfb -displayfd 8 -screen 0 1024x768x24 -nolisten tcp -noreset 8>"$work/display-$1" >/dev/null 2>&1 &
  local xvfb=$! display="" next case  # not "i": wait_for counts with that one
  wait_for 100 test -s "$work/display-$1" && display=":$(tr -dc 0-9 <"$work/display-$1")"
  [[ -n $display ]] && ! wait_for 50 env DISPLAY="$display" xwininfo -root >/dev/null 2>&1 && display=""
  for ((next = $1; next < ${#cases[@]}; next += slots)); do
    read -r -a case <<<"${cases[next]}"
    mkdir -p "$work/${case[0]}"
    if [[ -n $display ]]; then run_case "${case[@]}" "$display"; else note "$work/${case[0]}" "no X server"; fi
  done
  kill "$xvfb"
}

# QM_BAD_CASES=<regex> keeps only the cases whose names match, when one case needs a look.
pick_cases() {
  [[ -n ${QM_BAD_CASES:-} ]] || return 0
  local k
  for k in "${!cases[@]}"; do [[ ${cases[k]%% *} =~ $QM_BAD_CASES ]] || unset "cases[k]"; done
  cases=("${cases[@]}")
}
