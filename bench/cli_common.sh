# What the command-line benchmarks share: the tools, the programs and the settings they read.
# Sourced by dump.sh, diff.sh and import_channels.sh after they set `bench` (their name) and
# `default_limit_ms`.
#
# Environment: BUILD_DIR (default build), RUNS (default 100, at least 50), LIMIT_MS.

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-packages" hyperfine >/dev/null

build_dir=${BUILD_DIR:-build}
runs=${RUNS:-100}
# shellcheck disable=SC2154 # set by the script that sources this one
limit_ms=${LIMIT_MS:-$default_limit_ms}
out=bench/out
cli=$build_dir/src/cli/nx5rb-cli
sim=$build_dir/src/sim/nx5rb-sim

# shellcheck disable=SC2154
if ((runs < 50)); then
    echo "$bench: RUNS must be at least 50" >&2
    exit 2
fi
for program in "$cli" "$sim"; do
    if [[ ! -x $program ]]; then
        echo "$bench: $program is missing; build first with scripts/setup" >&2
        exit 2
    fi
done
mkdir -p "$out"
