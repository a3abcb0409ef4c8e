#!/bin/sh
# Runs a Qt test on a real (virtual) X server. Without xvfb-run the test is skipped (77).
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIP: xvfb-run is not installed; the platform title needs an X server"
    exit 77
fi
exec xvfb-run -a env QT_QPA_PLATFORM=xcb "$@"
