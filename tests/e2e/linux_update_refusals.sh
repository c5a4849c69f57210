#!/bin/bash
# The update window of the Linux test-key build against a real HTTPS site. Every download
# that must not be installed (missing, cut short, signed by a key the program does not
# trust, signed over other bytes, built for another platform, served with an untrusted
# certificate, redirected to plain HTTP) leaves the program file byte-identical, starts
# nothing and keeps the program running. All but the untrusted key are signed by the key
# the build trusts, so each is refused for its own fault alone.
# Usage: linux_update_refusals.sh <build dir>
set -uo pipefail
build=$(cd "${1:?build dir}" && pwd)
source "$(dirname "${BASH_SOURCE[0]}")/update_site.bash"

openssl genpkey -algorithm EC -pkeyopt ec_paramgen_curve:P-256 -out "$work/stranger.pem" 2>/dev/null
printf 'MZ%01022d' 0 > "$work/windows.exe"

# The check tries the download six times; it is over when the request an attempt ends with
# has come that often (a download taken at once would never get there).
made() { [[ $(grep -c -- "$1" "$work/requests.log" 2>/dev/null) -ge $2 ]]; }
# refused <case> <the request each attempt ends with> [how often the check makes it]
refused() {
  local name=$1 expected=$2 times=${3:-6}
  : > "$work/requests.log"
  check_for_update "$name" || { kill "$program" 2>/dev/null; return; }
  wait_for 300 made "$expected" "$times" \
    || fail "$name: not $times requests for $expected: $(tr '\n' ' ' < "$work/requests.log")"
  if cmp -s "$app/quillmere" "$work/original" && [[ ! -e $app/qmx ]] && kill -0 "$program" 2>/dev/null \
    && ! grep -q '"Up"="b"' "$app/registry.ini" 2>/dev/null; then
    pass "$name: refused, the program unchanged and running"
  else
    fail "$name: $(ls "$app"), Up: $(stored Up)"
  fi
  grep -q '^plain ' "$work/requests.log" && fail "$name: a request went out over plain HTTP"
  kill "$program" 2>/dev/null
  wait "$program" 2>/dev/null
}

publish "$work/new-build"; rm "$www/$program_path"
refused "a missing program (404)" "HEAD /$program_path "
publish "$work/new-build"; echo $(( $(stat -c %s "$work/new-build") + 4096 )) > "$www/$program_path.length"
refused "a body cut short" "GET /$program_path "
publish "$work/new-build" "$work/stranger.pem"
refused "a signature of an untrusted key" "GET /$program_path.sig"
publish "$work/original"; cp "$work/new-build" "$www/$program_path"
refused "a trusted signature over other bytes" "GET /$program_path.sig"
publish "$work/windows.exe"
refused "a program for another platform" "GET /$program_path "
publish "$work/new-build"; touch "$www/$program_path.redirect"
refused "a redirect to plain HTTP" "HEAD /$program_path "
publish "$work/new-build"
SSL_CERT_FILE=/dev/null refused "an untrusted certificate" "TLS handshake refused" 1

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
