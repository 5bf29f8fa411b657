#!/usr/bin/env bash
# Typing a whole power-on message by keyboard in the window: every key handled within one frame.
# Fails when the slowest key reaches the limit.
#
#   bench/message_typing.sh
#
# Environment: BUILD_DIR (default build), RUNS (default 20), LIMIT_MS (default 16),
# QT_QPA_PLATFORM (default offscreen).
set -euo pipefail

bench=message_typing.sh
# shellcheck source=bench/in_process_common.sh
source "$(dirname "${BASH_SOURCE[0]}")/in_process_common.sh"
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
build_targets message_typing_bench
"$build_dir/tests/message_typing_bench" --runs "${RUNS:-20}" --limit "${LIMIT_MS:-16}"
