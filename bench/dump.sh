#!/usr/bin/env bash
# Wall time of "nx5rb-cli dump FILE.dat": the whole command, from process start to the last byte
# of JSON. Fails when the mean reaches the limit.
#
#   bench/dump.sh [FILE.dat]
#
# Without FILE.dat it measures the virtual radio's factory memory. Environment: BUILD_DIR (default
# build), RUNS (default 100, at least 50), LIMIT_MS (default 20).
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

hyperfine -N --warmup 10 --runs "$runs" --output=pipe --export-csv "$out/dump.csv" \
    "$(printf '%q dump %q' "$cli" "$sample")"

# The CSV holds seconds: command,mean,stddev,median,user,system,min,max (counted from the end,
# as the command may hold a comma).
read -r mean_ms max_ms < <(awk -F, 'NR == 2 { printf "%.2f %.2f\n", $(NF - 6) * 1000, $NF * 1000 }' \
    "$out/dump.csv")
echo "nx5rb-cli dump: mean ${mean_ms} ms, max ${max_ms} ms over ${runs} runs (limit: mean < ${limit_ms} ms)"
if awk -v mean="$mean_ms" -v limit="$limit_ms" 'BEGIN { exit !(mean >= limit) }'; then
    echo "dump.sh: FAIL: the mean is ${limit_ms} ms or more" >&2
    exit 1
fi
