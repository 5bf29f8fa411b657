#!/usr/bin/env bash
# Wall time of opening the window: nx5rb on the virtual radio, from process start to the first
# paint of the window (NX5RB_QUIT_AFTER_PAINT makes it quit right there), and the window's peak
# resident memory (VmHWM) once it is up. Fails when the mean reaches the limit.
#
#   bench/window_startup.sh
#
# Environment: BUILD_DIR (default build), RUNS (default 30, at least 10), LIMIT_MS (default 100),
# QT_QPA_PLATFORM (default offscreen; under xvfb-run, "xcb" times a real X server).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
"$root/scripts/install-packages" hyperfine >/dev/null

build_dir=${BUILD_DIR:-build}
runs=${RUNS:-30}
limit_ms=${LIMIT_MS:-100}
out=bench/out
window=$build_dir/src/gui/nx5rb
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

if ((runs < 10)); then
    echo "window_startup.sh: RUNS must be at least 10" >&2
    exit 2
fi
if [[ ! -x $window ]]; then
    echo "window_startup.sh: $window is missing; build first with scripts/setup" >&2
    exit 2
fi
mkdir -p "$out"

# A window that never paints would run until killed, and one that fails at once would be timed as
# fast: check one run first.
if ! NX5RB_QUIT_AFTER_PAINT=1 timeout 20 "$window" --port virtual \
    >/dev/null 2>"$out/window_startup.log"; then
    echo "window_startup.sh: $window did not quit after its first paint; see $out/window_startup.log" >&2
    exit 1
fi

NX5RB_QUIT_AFTER_PAINT=1 hyperfine -N --warmup 3 --runs "$runs" --output=pipe \
    --export-csv "$out/window_startup.csv" \
    "$(printf '%q --port virtual' "$window")"

# The CSV holds seconds: command,mean,stddev,median,user,system,min,max (counted from the end,
# as the command may hold a comma).
read -r mean_ms max_ms < <(awk -F, 'NR == 2 { printf "%.1f %.1f\n", $(NF - 6) * 1000, $NF * 1000 }' \
    "$out/window_startup.csv")

# Peak memory: a window left open, read from /proc once it has had three times the mean start-up
# to paint and its high-water mark has then stayed put for half a second.
"$window" --port virtual >/dev/null 2>>"$out/window_startup.log" &
pid=$!
trap 'kill "$pid" 2>/dev/null || true' EXIT
min_polls=$(awk -v mean="$mean_ms" 'BEGIN { printf "%d", mean * 3 / 100 + 1 }') # 100 ms polls
hwm_kb=0
steady=0
for ((poll = 1; poll <= 300; ++poll)); do
    sleep 0.1
    now=$(awk '/^VmHWM:/ { print $2 }' "/proc/$pid/status" 2>/dev/null || true)
    if [[ -z $now ]]; then
        echo "window_startup.sh: the window exited before its memory was read" >&2
        exit 1
    fi
    if ((now == hwm_kb)); then
        steady=$((steady + 1))
    else
        hwm_kb=$now
        steady=0
    fi
    if ((poll >= min_polls && steady >= 5)); then
        break
    fi
done
kill "$pid"
wait "$pid" 2>/dev/null || true
trap - EXIT
hwm_mib=$(awk -v kb="$hwm_kb" 'BEGIN { printf "%.1f", kb / 1024 }')

echo "nx5rb window start-up: mean ${mean_ms} ms, max ${max_ms} ms over ${runs} runs" \
    "(limit: mean < ${limit_ms} ms); peak resident memory (VmHWM) ${hwm_mib} MiB"
if awk -v mean="$mean_ms" -v limit="$limit_ms" 'BEGIN { exit !(mean >= limit) }'; then
    echo "window_startup.sh: FAIL: the mean is ${limit_ms} ms or more" >&2
    exit 1
fi
