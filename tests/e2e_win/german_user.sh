#!/bin/bash
# The win32 locale port in a real German user locale: Wine takes the user locale from the
# environment, so a de_DE.UTF-8 locale made with localedef in a temporary folder and LANG
# naming it give a German Windows user. The tests run in a prefix of their own (the shared
# prefix's registry, its drive C), so no other Wine process meets the German settings.
# $1: the build folder holding win32_tests.exe.
set -uo pipefail
build="$(cd "$1" && pwd)"
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)"
[[ -f $build/win32_tests.exe ]] || { echo "SKIP: win32_tests.exe not built"; exit 0; }
command -v localedef >/dev/null || { echo "SKIP: no localedef"; exit 0; }
work="$(mktemp -d /tmp/qm-german.XXXXXX)"
shared="${WINEPREFIX:-$HOME/.wine-quillmere}"
"$root/cmake/wine-prefix"
export WINEPREFIX="$work/prefix"
trap 'wineserver -k >/dev/null 2>&1; rm -rf "$work"' EXIT
mkdir -p "$WINEPREFIX/dosdevices"
cp "$shared"/{system.reg,user.reg,userdef.reg,.update-timestamp,.quillmere-ready} "$WINEPREFIX/"
ln -s "$shared/drive_c" "$WINEPREFIX/drive_c"
ln -s ../drive_c "$WINEPREFIX/dosdevices/c:"
ln -s / "$WINEPREFIX/dosdevices/z:"
localedef -i de_DE -f UTF-8 "$work/de_DE.UTF-8" >/dev/null 2>&1 || { echo "FAIL: localedef"; exit 1; }
out=$(LOCPATH="$work" LANG=de_DE.UTF-8 LC_ALL= QM_GERMAN_USER=1 \
    "$root/cmake/wine-run" "$build/win32_tests.exe" --gtest_filter='Win32Locale.*' 2>&1 | tr -d '\r')
echo "$out"
# The German case must have run, not been skipped.
grep -q '^\[       OK \] Win32Locale.GermanUserLocaleGivesComma' <<<"$out" && grep -q '^\[  PASSED  \]' <<<"$out" \
    && ! grep -q FAILED <<<"$out"
