#!/usr/bin/env bash
# A committed cell on the calibration chart within one frame: Update, its posted events and a
# forced repaint of the whole shown window, timed in-process (no start-up), for a one-step edit and
# for one that rescales an axis. Fails when a 99th percentile reaches the limit.
#
#   bench/chart_update.sh
#
# Environment: BUILD_DIR (default build), RUNS (default 300, at least 10), LIMIT_MS (default 16),
# QT_QPA_PLATFORM (default offscreen; under xvfb-run, "xcb" paints through a real X server).
set -euo pipefail

bench=chart_update.sh
# shellcheck source=bench/in_process_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/in_process_common.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
build_targets chart_update_bench
"$build_dir/tests/chart_update_bench" --runs "${RUNS:-300}" --limit "${LIMIT_MS:-16}"
