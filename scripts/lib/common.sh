# Shared by the scripts: where things are, and the configure-and-build step.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
build="${VORNA_BUILD_DIR:-$root/build}"

configure_and_build() {
  local dir=$1
  shift
  cmake -S "$root" -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
  cmake --build "$dir"
}
