# The bad files of the program folder and their snapshots (sourced by linux_bad_files.sh;
# not a test of its own). Needs $work (holding the program as $work/quillmere).

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

# The files a case watches: the one under test, or every file of a bad program folder.
watched() {  # <dir> <file>
  if [[ $2 == folder ]]; then
    (cd "$1/app" && ls -A | grep -vx quillmere)
  else
    echo "$2"
  fi
}

# A small tmpfs just large enough for the program, filled to the last byte after the files.
mount_full_folder() {  # <app folder>
  local size=$(( $(stat -c %s "$work/quillmere") / 1024 + 512 ))
  mount -t tmpfs -o "size=${size}k" tmpfs "$1" || return 1
  cp "$work/quillmere" "$1/quillmere"
}
fill_folder() { dd if=/dev/zero of="$1/filler" bs=4k >/dev/null 2>&1; sync; }

# The case's folder: the program, the files in their state, handed to the user that runs it,
# and the snapshot of what it must keep.
prepare_case() {  # <dir> <file> <fault>
  local dir=$1 app=$1/app name
  mkdir -p "$app" "$dir/run" "$dir/home" "$dir/config" "$dir/orig"
  chmod 700 "$dir/run"
  if [[ $3 == full ]]; then mount_full_folder "$app" || return 1
  else ln "$work/quillmere" "$app/quillmere" 2>/dev/null || cp "$work/quillmere" "$app/quillmere"; fi
  if [[ $2 == folder ]]; then
    for name in settings.ini Launcher.mbl error registry.ini; do healthy_text "$name" >"$app/$name"; done
  else
    apply_fault "$app/$2" "$2" "$3"
  fi
  [[ $(id -u) == 0 ]] && chown -hR 65534:65534 "$app" "$dir/run" "$dir/home" "$dir/config"
  [[ $3 == full ]] && fill_folder "$app"
  [[ $2:$3 == folder:readonly ]] && chmod 555 "$app"
  for name in $(watched "$dir" "$2"); do
    printf '%s\t%s\n' "$name" "$(describe "$app/$name")" >>"$dir/before"
    [[ -f $app/$name && ! -L $app/$name && $(stat -c %s "$app/$name") -le 65536 ]] && cp -p "$app/$name" "$dir/orig/"
  done
  return 0
}

# "same": every watched file is as it was; "grows": a file may have gained bytes at its end.
compare_snapshots() {  # <dir> <expectation>
  local dir=$1 name before after
  while IFS=$'\t' read -r name before; do
    after=$(describe "$dir/app/$name")
    [[ $after == "$before" ]] && continue
    if [[ $2 == grows && -f $dir/orig/$name && -f $dir/app/$name ]] &&
       cmp -s -n "$(stat -c %s "$dir/orig/$name")" "$dir/orig/$name" "$dir/app/$name"; then
      continue
    fi
    note "$dir" "$name changed: was $before, is $after"
  done <"$dir/before"
}
