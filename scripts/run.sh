#!/usr/bin/env bash
# Builds the programs (installing what is missing) and runs the main job.
# Without arguments: shows the decoded configuration of the simulated mouse, which starts out
# holding the built-in default image, with orlixctl.
# With arguments: passes them to orlixctl, e.g. scripts/run.sh --simulate=macro info
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build build -j "$(nproc)" --target orlixctl
if [ "$#" -eq 0 ]; then
    exec build/cli/orlixctl/orlixctl --simulate=macro show
fi
exec build/cli/orlixctl/orlixctl "$@"
