#!/bin/sh
# Runs a Qt test on a real (virtual) X server, large enough for the window and another
# program's beside it. Without xvfb-run the test is skipped (77).
if ! command -v xvfb-run >/dev/null 2>&1; then
    echo "SKIP: xvfb-run is not installed; the test needs an X server"
    exit 77
fi
exec xvfb-run -a -s "-screen 0 1280x1024x24" env QT_QPA_PLATFORM=xcb "$@"
