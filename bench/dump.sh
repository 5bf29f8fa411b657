#!/usr/bin/env bash
# Wall time of "nx5rb-cli dump FILE.dat": the whole command, from process start to the last byte
# of JSON, and its ratio to the start of a program that loads Qt Core alone. Fails when the mean
# reaches the limit or the ratio exceeds 1.6.
#
#   bench/dump.sh [FILE.dat]
#
# Without FILE.dat it measures the virtual radio's factory memory. Environment: BUILD_DIR (default
# build), RUNS (default 100, at least 50), LIMIT_MS (default 20), RATIO_LIMIT (default 1.6).
set -euo pipefail

bench=dump.sh
default_limit_ms=20
# shellcheck source=bench/cli_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/cli_common.sh"
sample=${1:-$out/sample.dat}
if (($# == 0)); then
    "$sim" --export "$sample"
fi
# A dump that fails would be measured as fast; check it once first.
"$cli" dump "$sample" >/dev/null

time_against_core_start "nx5rb-cli dump" "$out/dump.csv" "$(printf '%q dump %q' "$cli" "$sample")"
