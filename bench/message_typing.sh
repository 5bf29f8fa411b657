#!/usr/bin/env bash
# Typing a whole power-on message by keyboard in the window: every key handled within one frame.
# Fails when the slowest key reaches the limit.
#
#   bench/message_typing.sh
#
# Environment: BUILD_DIR (default build), RUNS (default 20), LIMIT_MS (default 16),
# QT_QPA_PLATFORM (default offscreen).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"

build_dir=${BUILD_DIR:-build}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}

if [[ ! -f $build_dir/CMakeCache.txt ]]; then
    echo "message_typing.sh: $build_dir is not configured; build first with scripts/setup" >&2
    exit 2
fi
# The benchmark program is left out of the default build.
cmake --build "$build_dir" --target message_typing_bench >/dev/null
"$build_dir/tests/message_typing_bench" --runs "${RUNS:-20}" --limit "${LIMIT_MS:-16}"
