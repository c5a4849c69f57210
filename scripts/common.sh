# Sourced by the scripts: paths and the Wine environment they share.
root="$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)"
export WINEPREFIX="${WINEPREFIX:-$HOME/.wine-quillmere}"
export WINEDEBUG="${WINEDEBUG:--all}"
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
trees=(linux win32 win64 sanitize)
jobs="${QUILLMERE_JOBS:-2}"

# build_tree <tree>: configures once (Ninja re-globs by itself later), then builds.
build_tree() {
  local tree=$1
  if [[ ! -f "$root/build/$tree/build.ninja" ]]; then
    (cd "$root" && cmake --preset "$tree" >/dev/null)
  fi
  cmake --build "$root/build/$tree" -j "$jobs"
}
# Objects compiled in one checkout are reused by another of the same sources.
export CCACHE_BASEDIR="${CCACHE_BASEDIR:-$(dirname "$root")}"
export CCACHE_NOHASHDIR=1
