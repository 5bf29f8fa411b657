# shellcheck shell=bash
# What the in-process benchmarks share: the build they run from and building their program, which
# is left out of the default build. Sourced by chart_update.sh, message_typing.sh and link_wire.sh
# after they set `bench` (their name).
#
# Environment: BUILD_DIR (default build).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

build_dir=${BUILD_DIR:-build}

# shellcheck disable=SC2154 # set by the script that sources this one
if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    echo "$bench: $build_dir is not configured; build first with scripts/setup" >&2
    exit 2
fi

# build_targets TARGET...: builds the named targets quietly.
build_targets() {
    cmake --build "$build_dir" --target "$@" >/dev/null
}
