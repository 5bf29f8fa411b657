#!/usr/bin/env bash
# Wall time of "nx5rb-cli diff A.dat B.dat": the whole command, from process start to the last
# line, for two files that differ in a tune value, a channel and bytes no page shows, and its ratio
# to the start of a program that loads Qt Core alone. Fails when the mean reaches the limit or the
# ratio exceeds 1.6.
#
#   bench/diff.sh [A.dat B.dat]
#
# Without files it measures the virtual radio's factory memory against a changed copy.
# Environment: BUILD_DIR (default build), RUNS (default 100, at least 50), LIMIT_MS (default 20),
# RATIO_LIMIT (default 1.6).
set -euo pipefail

bench=diff.sh
default_limit_ms=20
# shellcheck source=bench/cli_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/cli_common.sh"
if (($# != 0 && $# != 2)); then
    echo "usage: bench/diff.sh [A.dat B.dat]" >&2
    exit 2
fi

# Writes one byte at an image address of a data file (the image starts after the 16-byte header).
poke() {
    printf "\\x$2" | dd of="$1" bs=1 seek=$((16 + $3)) conv=notrunc status=none
}

a=${1:-$out/diff-a.dat}
b=${2:-$out/diff-b.dat}
if (($# == 0)); then
    "$sim" --export "$a"
    cp "$a" "$b"
    poke "$b" 28 0xF02 # band A sensitivity, point 3
    poke "$b" 52 0x011 # channel 0, receive frequency
    poke "$b" 01 0x900 # unused memory
fi
# A diff that fails would be measured as fast; it must run and report differences (status 1) or
# none (status 0).
status=0
"$cli" diff "$a" "$b" >/dev/null || status=$?
if ((status > 1)); then
    echo "diff.sh: nx5rb-cli diff failed with status $status" >&2
    exit 1
fi

time_against_core_start "nx5rb-cli diff" "$out/diff.csv" "$(printf '%q diff %q %q' "$cli" "$a" "$b")" -i
