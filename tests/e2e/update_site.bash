# Sourced by the update scripts: the test-key build as a portable program, a real HTTPS
# site on 127.0.0.1 whose certificate a test CA signed, an X server of its own and, for the
# Linux program (trusting the CA through SSL_CERT_FILE), the update window driven as a user
# would. Needs $build. The Windows scripts set update_host=wine, exe, program_file and
# program_path first, trust the CA themselves and drive the window with their own driver.
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
update_host=${update_host:-linux}
exe=${exe:-$build/quillmere_testkey}
program_file=${program_file:-quillmere}
program_path=${program_path:-qmxupdate-linux-x86_64}
signer="$build/testkey/signer.pem"
[[ -x $exe && -f $signer ]] || { echo "SKIP: $exe not built"; exit 0; }
tools=(Xvfb xwininfo openssl python3 wine wineserver)
[[ $update_host == linux ]] && tools=(Xvfb xwininfo openssl python3 xdotool)
for tool in "${tools[@]}"; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done

work=$(mktemp -d /tmp/qm-update.XXXXXX)
app="$work/My Apps/Quillmere"
www="$work/www"
mkdir -p "$app" "$www" "$work/run" "$work/config" "$work/bin"
chmod 700 "$work/run"
pids=()
cleanup() {
  declare -F stop_programs >/dev/null && stop_programs
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  local running
  running=$(pgrep -f "^$app/" || true)
  [[ -n $running ]] && kill $running 2>/dev/null
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/checks.bash"

cp "$exe" "$app/$program_file"
cp "$exe" "$work/original"
printf 'a newer build' | cat "$exe" - > "$work/new-build"
chmod +x "$work/new-build"

# ---- the site ------------------------------------------------------------------
ec="-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes"
(
  cd "$work" || exit 1
  openssl req -x509 $ec -keyout ca.key -out ca.pem -days 2 -subj /CN=QmTestCA
  openssl req $ec -keyout srv.key -out srv.csr -subj /CN=127.0.0.1
  # Also as a DNS name: Wine's crypt32 matches the host only against the DNS names.
  printf 'subjectAltName=IP:127.0.0.1,DNS:127.0.0.1\nbasicConstraints=CA:FALSE\nextendedKeyUsage=serverAuth\n' > ext
  openssl x509 -req -in srv.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out srv.pem -days 2 -extfile ext
) >/dev/null 2>&1
python3 "$here/../support/https_server.py" "$www" "$work/srv.pem" "$work/srv.key" "$work/port" \
  "$work/requests.log" >/dev/null 2>&1 &
site_pid=$!
pids+=($site_pid)
# For a failure's message: whether the site still ran, and what it was asked.
site_state() {
  kill -0 "$site_pid" 2>/dev/null && printf 'the site runs' || printf 'the site is down'
  printf ', requests: %s' "$(tail -5 "$work/requests.log" 2>/dev/null | tr '\n' ' ')"
}
wait_for 100 test -s "$work/port" || { fail "the HTTPS server did not start"; exit 1; }
export QUILLMERE_SITE="https://127.0.0.1:$(cat "$work/port")"

# publish <file> [signing key]: the version 7 and the program with its signature.
publish() {
  rm -f "$www"/*
  echo 7 > "$www/qmx.txt"
  cp "$1" "$www/$program_path"
  openssl dgst -sha256 -sign "${2:-$signer}" -out "$www/$program_path.sig" "$www/$program_path"
}

# ---- the desktop ---------------------------------------------------------------
start_x
printf '#!/bin/sh\necho "$1" >> "%s/opened.txt"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"
[[ $update_host == linux ]] || return 0
export SSL_CERT_FILE="$work/ca.pem"

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
main_shown() { [[ -n $(window_of '^Quillmere v') ]]; }
update_shown() { [[ -n $(window_of '^AutoUpdate$') ]]; }
stored() { grep -a "\"$1\"" "$app/registry.ini" | head -1; }

# Starts the program, opens Help > Check for Updates and presses Proceed.
check_for_update() {
  "$app/quillmere" >"$work/program.log" 2>&1 &
  program=$!
  pids+=("$program")
  wait_for 150 main_shown || { fail "$1: no main window"; return 1; }
  local main update
  main=$(window_of '^Quillmere v')
  xdotool mousemove --window "$main" 90 10 click 1
  sleep 0.7
  xdotool mousemove --window "$main" 164 76 click 1  # Help > Check for Updates... (the rule above it is a thin line)
  wait_for 50 update_shown || { fail "$1: the update window did not open"; return 1; }
  update=$(window_of '^AutoUpdate$')
  xdotool mousemove --window "$update" $(((3240 + 667) / 15)) $(((3660 + 187) / 15)) click 1
}
