#!/usr/bin/env bash
# Cross-compiles the Qt-free layers and the Windows-only platform code with mingw-w64 so the
# Windows build cannot rot while we develop on Linux.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build-mingw -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DORLIX_GUI=OFF -DORLIX_TESTS=OFF -DORLIX_BENCH=OFF -DORLIX_WINDOWS_CHECK=ON -DORLIX_WERROR=ON >/dev/null
cmake --build build-mingw -j "$(nproc)"

# The Windows smoke test runs under wine: the native HID backend loads hid.dll and setupapi.dll
# and enumerates, and the Windows build of the core reads and writes the simulated mouse.
# Debian's wine64 package puts its loader outside PATH.
wine_cmd=$(command -v wine64 || command -v wine || true)
[ -z "$wine_cmd" ] && [ -x /usr/lib/wine/wine64 ] && wine_cmd=/usr/lib/wine/wine64
if [ -z "$wine_cmd" ]; then
    echo "wine64 is missing: run scripts/install-deps.sh" >&2
    exit 1
fi
export WINEPREFIX="$PWD/build-mingw/wineprefix"
WINEDEBUG=-all timeout 600 "$wine_cmd" build-mingw/tests/windows/orlix-hidcheck.exe 2> build-mingw/wine.log || {
    echo "orlix-hidcheck.exe failed under wine; wine said:" >&2
    cat build-mingw/wine.log >&2
    exit 1
}

# The macro capture: the mouse hook and the message window under wine, fed through SendInput.
WINEDEBUG=-all timeout 300 "$wine_cmd" build-mingw/tests/windows/orlix-capturecheck.exe > build-mingw/capturecheck.log 2>&1 || {
    echo "orlix-capturecheck.exe failed under wine:" >&2
    cat build-mingw/capturecheck.log >&2
    exit 1
}
# The pointer settings through the prefix's registry and SystemParametersInfoA.
WINEDEBUG=-all timeout 600 "$wine_cmd" build-mingw/tests/windows/orlix-pointercheck.exe 2> build-mingw/wine-pointer.log || {
    echo "orlix-pointercheck.exe failed under wine; wine said:" >&2
    cat build-mingw/wine-pointer.log >&2
    exit 1
}
