#!/usr/bin/env bash
# Builds the programs (installing what is missing) and runs the main job.
#
#   scripts/run.sh                      the editor against the simulated mouse when there is a
#                                       display; without one, the decoded configuration of the
#                                       simulated mouse (which starts out holding the default
#                                       image) printed by orlixctl
#   scripts/run.sh orlix-editor [ARGS]  one of the programs, with its own arguments
#   scripts/run.sh orlix-editor-s [ARGS]
#   scripts/run.sh orlixctl [ARGS]
#   scripts/run.sh [ARGS]               anything else goes to orlixctl, e.g. --simulate=macro info
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target orlixctl orlix-editor orlix-editor-s

orlixctl=build/cli/orlixctl/orlixctl
case "${1:-}" in
    orlix-editor | orlix-editor-s)
        program=$1
        shift
        exec "build/src/shell/$program" "$@"
        ;;
    orlixctl)
        shift
        exec "$orlixctl" "$@"
        ;;
    "")
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            exec build/src/shell/orlix-editor --simulate=macro
        fi
        exec "$orlixctl" --simulate=macro show
        ;;
    *)
        exec "$orlixctl" "$@"
        ;;
esac
