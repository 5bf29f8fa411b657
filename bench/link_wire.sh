#!/usr/bin/env bash
# How close read-all and read-channels come to their wire time: the tool's real link stack against
# nx5rb-sim pacing its pseudo-terminal at 9600 baud. Each transfer is timed from the command's
# start to LinkState 0 (no process start-up), the best of a few runs is compared with the time
# every byte of the exchange needs on the line at 10 bits per byte, and the run fails when a
# ratio exceeds the limit.
#
#   bench/link_wire.sh
#
# Environment: BUILD_DIR (default build), RUNS (default 5), BAUD (default 9600), LIMIT (default
# 1.05).
set -euo pipefail

bench=link_wire.sh
# shellcheck source=bench/in_process_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/in_process_common.sh"
runs=${RUNS:-5}
baud=${BAUD:-9600}
limit=${LIMIT:-1.05}
sim=$build_dir/src/sim/nx5rb-sim
program=$build_dir/tests/link_wire_bench
build_targets nx5rb-sim link_wire_bench

out=$(mktemp -d)
sim_pid=""
cleanup() {
    if [[ -n $sim_pid ]]; then
        kill "$sim_pid" 2>/dev/null || true
        wait "$sim_pid" 2>/dev/null || true
    fi
    rm -rf "$out"
}
trap cleanup EXIT

mkfifo "$out/terminal"
"$sim" --quiet --baud "$baud" >"$out/terminal" &
sim_pid=$!
# The first line names the pseudo-terminal; the radio keeps serving it until it is stopped.
exec 3<"$out/terminal"
read -r -t 10 terminal <&3 || {
    echo "link_wire.sh: nx5rb-sim did not come up" >&2
    exit 2
}

"$program" --port "$terminal" --runs "$runs" --baud "$baud" --limit "$limit"
