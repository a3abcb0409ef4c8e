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
#
# It installs only what building and running need (not the test toolchain), and builds what
# `cmake --install build` and `(cd build && cpack -G DEB)` need. ORLIX_BUILD_DIR chooses
# another build folder than build/.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh run
build=${ORLIX_BUILD_DIR:-build}
if [ -f "$build/CMakeCache.txt" ]; then
    # A folder the test command configured keeps its tests.
    cmake -S . -B "$build" >/dev/null
else
    cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIX_TESTS=OFF \
        -DORLIX_BENCH=OFF >/dev/null
fi
cmake --build "$build" -j "$(nproc)" --target orlix_installed

orlixctl=$build/cli/orlixctl/orlixctl
case "${1:-}" in
    orlix-editor | orlix-editor-s)
        program=$1
        shift
        exec "$build/src/shell/$program" "$@"
        ;;
    orlixctl)
        shift
        exec "$orlixctl" "$@"
        ;;
    "")
        if [ -n "${DISPLAY:-}${WAYLAND_DISPLAY:-}" ]; then
            exec "$build/src/shell/orlix-editor" --simulate=macro
        fi
        exec "$orlixctl" --simulate=macro show
        ;;
    *)
        exec "$orlixctl" "$@"
        ;;
esac
