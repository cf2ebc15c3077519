# Shared by the scripts: where things are, a line per phase, and the configure-and-build step.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="${VORNA_BUILD_DIR:-$root/build}"

# One line saying what the calling script is doing now, so a long step is never a silent one.
say() {
  printf '%s: %s\n' "${0##*/}" "$*"
}

# Builds everything, or only the targets the caller names in $targets.
configure_and_build() {
  local dir=$1
  shift
  say "configuring the build in $dir"
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  say "building (ninja counts the steps; the first build takes a while)"
  # shellcheck disable=SC2086 # one word per target
  cmake --build "$dir" ${targets:+--target $targets}
}
