#!/bin/bash
# The update window of the Linux program against a real HTTPS server on 127.0.0.1 whose
# certificate a test CA signed (trusted through SSL_CERT_FILE). Every download that must
# not be installed (missing, cut short, signed by a key the program does not trust, built
# for another platform, served with an untrusted certificate, redirected to plain HTTP)
# leaves the program file byte-identical, starts nothing and keeps the program running.
# Usage: linux_update_refusals.sh <build dir>
set -uo pipefail

build=$(cd "${1:?build dir}" && pwd)
exe="$build/quillmere"
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
[[ -x $exe ]] || { echo "SKIP: $exe not built"; exit 0; }
for tool in Xvfb xdotool xwininfo openssl python3; do
  command -v "$tool" >/dev/null || { echo "SKIP: $tool missing"; exit 0; }
done

work=$(mktemp -d /tmp/qm-refusals.XXXXXX)
app="$work/Quillmere"
www="$work/www"
mkdir -p "$app" "$www" "$work/run" "$work/config" "$work/bin"
chmod 700 "$work/run"
pids=()
cleanup() {
  for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null; done
  wait 2>/dev/null
  rm -rf "$work"
}
trap cleanup EXIT
source "$here/checks.bash"

# ---- a test CA, the site's certificate, a signing key the program does not trust ----
cd "$work" || exit 1
ec="-newkey ec -pkeyopt ec_paramgen_curve:P-256 -nodes"
openssl req -x509 $ec -keyout ca.key -out ca.pem -days 2 -subj /CN=QmTestCA >/dev/null 2>&1
openssl req $ec -keyout srv.key -out srv.csr -subj /CN=127.0.0.1 >/dev/null 2>&1
printf 'subjectAltName=IP:127.0.0.1\nbasicConstraints=CA:FALSE\n' > ext
openssl x509 -req -in srv.csr -CA ca.pem -CAkey ca.key -CAcreateserial -out srv.pem -days 2 -extfile ext >/dev/null 2>&1
openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out signer.pem 2>/dev/null
python3 "$here/../support/https_server.py" "$www" srv.pem srv.key port "$work/requests.log" >/dev/null 2>&1 &
pids+=($!)
wait_for 100 test -s port || { fail "the HTTPS server did not start"; exit 1; }
export QUILLMERE_SITE="https://127.0.0.1:$(cat port)" SSL_CERT_FILE="$work/ca.pem"

cp "$exe" "$app/quillmere"
cp "$exe" "$work/original"
program_path=qmxupdate-linux-x86_64
publish() {  # publish <file>: the version 7 and a program with its signature
  rm -f "$www"/*
  echo 7 > "$www/qmx.txt"
  cp "$1" "$www/$program_path"
  openssl dgst -sha256 -sign signer.pem -out "$www/$program_path.sig" "$www/$program_path"
}
printf 'a newer build' | cat "$exe" - > "$work/new-build"
printf 'MZ%01022d' 0 > "$work/windows.exe"

# ---- the desktop ---------------------------------------------------------------
display=""
for n in $(seq 91 120); do
  [[ -e /tmp/.X11-unix/X$n || -e /tmp/.X$n-lock ]] && continue
  display=":$n"; break
done
Xvfb "$display" -screen 0 1024x768x24 -nolisten tcp >/dev/null 2>&1 &
pids+=($!)
export DISPLAY=$display
wait_for 50 xwininfo -root >/dev/null 2>&1 || { fail "Xvfb did not start"; exit 1; }
printf '#!/bin/sh\necho "$1" >> "%s/opened.txt"\n' "$work" > "$work/bin/xdg-open"
chmod +x "$work/bin/xdg-open"
export PATH="$work/bin:$PATH" XDG_RUNTIME_DIR="$work/run" XDG_CONFIG_HOME="$work/config"

window_of() { xdotool search --onlyvisible --name "$1" 2>/dev/null | head -1; }
main_shown() { [[ -n $(window_of '^Quillmere v') ]]; }
update_shown() { [[ -n $(window_of '^AutoUpdate$') ]]; }

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
  xdotool mousemove --window "$main" 164 87 click 1
  wait_for 50 update_shown || { fail "$1: the update window did not open"; return 1; }
  update=$(window_of '^AutoUpdate$')
  xdotool mousemove --window "$update" $(((3240 + 667) / 15)) $(((3660 + 187) / 15)) click 1
  sleep 6
}

# refused <case> <a request the check must have made, or "">
refused() {
  local name=$1 expected=$2
  : > "$work/requests.log"
  check_for_update "$name" || { kill "$program" 2>/dev/null; return; }
  if cmp -s "$app/quillmere" "$work/original" && [[ ! -e $app/qmx ]] && kill -0 "$program" 2>/dev/null \
    && ! grep -q '"Up"="b"' "$app/registry.ini" 2>/dev/null; then
    pass "$name: refused, the program unchanged and running"
    if [[ -n $expected ]]; then
      grep -q "$expected" "$work/requests.log" && pass "$name: the check asked for $expected" \
        || fail "$name: no request for $expected: $(tr '\n' ' ' < "$work/requests.log")"
    fi
  else
    fail "$name: $(ls "$app"), Up: $(grep -a '"Up"' "$app/registry.ini")"
  fi
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}

publish "$work/new-build"; rm "$www/$program_path"
refused "a missing program (404)" "HEAD /$program_path "
publish "$work/new-build"; echo $(( $(stat -c %s "$work/new-build") + 4096 )) > "$www/$program_path.length"
refused "a body cut short" "GET /$program_path "
publish "$work/new-build"
refused "a signature of an untrusted key" "GET /$program_path.sig"
publish "$work/windows.exe"
refused "a program for another platform" "GET /$program_path "
publish "$work/new-build"; touch "$www/$program_path.redirect"
refused "a redirect to plain HTTP" "/$program_path "
publish "$work/new-build"
SSL_CERT_FILE=/dev/null refused "an untrusted certificate" ""

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
