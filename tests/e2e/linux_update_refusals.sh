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

# refused <case> <a request the check must have made, or "">
refused() {
  local name=$1 expected=$2
  : > "$work/requests.log"
  check_for_update "$name" || { kill "$program" 2>/dev/null; return; }
  sleep 6
  if cmp -s "$app/quillmere" "$work/original" && [[ ! -e $app/qmx ]] && kill -0 "$program" 2>/dev/null \
    && ! grep -q '"Up"="b"' "$app/registry.ini" 2>/dev/null; then
    pass "$name: refused, the program unchanged and running"
    if [[ -n $expected ]]; then
      grep -q "$expected" "$work/requests.log" && pass "$name: the check asked for $expected" \
        || fail "$name: no request for $expected: $(tr '\n' ' ' < "$work/requests.log")"
    fi
  else
    fail "$name: $(ls "$app"), Up: $(stored Up)"
  fi
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
refused "a redirect to plain HTTP" "/$program_path "
publish "$work/new-build"
SSL_CERT_FILE=/dev/null refused "an untrusted certificate" ""

[[ $failures == 0 ]] && echo "PASS" || { echo "$failures failure(s)"; exit 1; }
