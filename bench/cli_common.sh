# What the command-line benchmarks share: the tools, the programs and the settings they read.
# Sourced by dump.sh, diff.sh and import_channels.sh after they set `bench` (their name) and
# `default_limit_ms`.
#
# Environment: BUILD_DIR (default build), RUNS (default 100, at least 50), LIMIT_MS, RATIO_LIMIT
# (default 1.6).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-packages" hyperfine >/dev/null

build_dir=${BUILD_DIR:-build}
runs=${RUNS:-100}
# shellcheck disable=SC2154 # set by the script that sources this one
limit_ms=${LIMIT_MS:-$default_limit_ms}
ratio_limit=${RATIO_LIMIT:-1.6}
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

# Times COMMAND (a string for hyperfine) and, in the same hyperfine run, the start of a program
# that loads Qt Core alone (nx5rb-sim --help): nearly all of a short command's time is loading
# libraries, so the ratio shows what the command loads beyond Qt Core, whatever the machine's
# speed. Prints both means and the ratio; fails when the command's mean reaches LIMIT_MS or the
# ratio exceeds RATIO_LIMIT. NAME names the command in the report, CSV is hyperfine's output.
#
#   time_against_core_start NAME CSV COMMAND [HYPERFINE OPTIONS...]
time_against_core_start() {
    local name=$1 csv=$2 command=$3
    shift 3
    hyperfine -N --warmup 10 --runs "$runs" --output=pipe "$@" --export-csv "$csv" \
        "$(printf '%q --help' "$sim")" "$command"
    # The CSV holds seconds: command,mean,stddev,median,user,system,min,max (counted from the
    # end, as a command may hold a comma); row 2 is the Qt Core start, row 3 the command.
    local core_ms mean_ms max_ms ratio
    read -r core_ms < <(awk -F, 'NR == 2 { printf "%.2f\n", $(NF - 6) * 1000 }' "$csv")
    read -r mean_ms max_ms < <(awk -F, 'NR == 3 { printf "%.2f %.2f\n", $(NF - 6) * 1000, $NF * 1000 }' \
        "$csv")
    ratio=$(awk -v mean="$mean_ms" -v core="$core_ms" 'BEGIN { printf "%.2f", mean / core }')
    echo "$name: mean ${mean_ms} ms, max ${max_ms} ms over ${runs} runs (limit: mean < ${limit_ms} ms)"
    echo "$name: ${ratio} x the start of a Qt Core program (nx5rb-sim --help, mean ${core_ms} ms; limit: ${ratio_limit} x)"
    local failed=0
    if awk -v mean="$mean_ms" -v limit="$limit_ms" 'BEGIN { exit !(mean >= limit) }'; then
        echo "$bench: FAIL: the mean is ${limit_ms} ms or more" >&2
        failed=1
    fi
    if awk -v ratio="$ratio" -v limit="$ratio_limit" 'BEGIN { exit !(ratio > limit) }'; then
        echo "$bench: FAIL: more than ${ratio_limit} x the start of a Qt Core program" >&2
        failed=1
    fi
    return $failed
}
