#!/usr/bin/env bash
# The Windows stage of the test command.
# 1. The Qt-free layers and the Windows platform code, cross-compiled with mingw-w64, and their
#    check programs under wine.
# 2. Both programs and orlixctl built against Qt for mingw-w64 (../shared/toolchains beside the
#    repository, or $ORLIX_SHARED_DIR), packed as the Windows zip, unpacked into a clean wine
#    prefix and run from there inside an X server of our own: the windows map with their
#    titles, their screenshots match the Linux ones, orlixctl.exe answers as on Linux, and the
#    window check program applies to the simulated mouse and to the pointer settings.
set -euo pipefail
cd "$(dirname "$0")/.."
repo=$PWD
stage_start=$(date +%s)

# Debian's wine64 package puts its loader outside PATH.
wine_cmd=$(command -v wine64 || command -v wine || true)
[ -z "$wine_cmd" ] && [ -x /usr/lib/wine/wine64 ] && wine_cmd=/usr/lib/wine/wine64
if [ -z "$wine_cmd" ]; then
    echo "wine64 is missing: run scripts/install-deps.sh" >&2
    exit 1
fi

echo "-- Qt-free layers (mingw-w64, static)"
cmake -S . -B build-mingw -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64.cmake" \
    -DORLIX_GUI=OFF -DORLIX_TESTS=OFF -DORLIX_BENCH=OFF -DORLIX_WINDOWS_CHECK=ON -DORLIX_WERROR=ON >/dev/null
cmake --build build-mingw -j "$(nproc)"

# The native HID backend loads hid.dll and setupapi.dll and enumerates, and the Windows build
# of the core reads and writes the simulated mouse.
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

echo "-- The programs against Qt for mingw-w64"
shared=${ORLIX_SHARED_DIR:-$repo/../shared}
qt_archive=$shared/toolchains/qt6.4.2-mingw-w64-x86_64.tar.xz
if [ ! -f "$qt_archive" ] || [ ! -f "$qt_archive.sha256" ]; then
    echo "Qt for mingw-w64 is missing: expected $qt_archive and its .sha256" >&2
    echo "(the shared folder beside the repository; set ORLIX_SHARED_DIR when it is elsewhere)" >&2
    exit 1
fi
qt_sum=$(cut -d' ' -f1 "$qt_archive.sha256")
if [ "$(sha256sum "$qt_archive" | cut -d' ' -f1)" != "$qt_sum" ]; then
    echo "$qt_archive does not match its checksum" >&2
    exit 1
fi
build=build-windows
# Unpacked once; again only when the archive's checksum changes.
if [ "$(cat "$build/qt/.sha256" 2>/dev/null)" != "$qt_sum" ]; then
    rm -rf "$build/qt"
    mkdir -p "$build/qt"
    tar xJf "$qt_archive" -C "$build/qt"
    echo "$qt_sum" > "$build/qt/.sha256"
fi
qt=$repo/$build/qt/qt6-mingw

cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release \
    -DCMAKE_TOOLCHAIN_FILE="$repo/cmake/mingw-w64-qt.cmake" -DORLIX_QT_MINGW="$qt" \
    -DORLIX_WINDOWS=ON -DORLIX_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
rm -f "$build"/orlix-editor-*-windows-x86_64.zip
(cd "$build" && cpack -G ZIP >/dev/null)
zip=$(ls "$build"/orlix-editor-*-windows-x86_64.zip)
build_done=$(date +%s)

# The Linux build's screenshots and orlixctl answers are the reference.
if [ ! -f build/build.ninja ]; then
    cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DORLIX_WERROR=ON >/dev/null
fi
cmake --build build -j "$(nproc)" --target orlix-editor orlix-editor-s orlixctl orlix_shotcompare

work=$repo/$build/check
rm -rf "$work"
mkdir -p "$work"
mkdir -m 700 "$work/runtime"

# An X server of our own, up before the prefix is made: wine's desktop process starts with the
# prefix and keeps the display it found then, so a prefix made without one never shows a window.
# A display number no other run uses at the same moment.
display=57
while [ -e "/tmp/.X$display-lock" ] || [ -e "/tmp/.X11-unix/X$display" ]; do
    display=$((display + 1))
done
Xvfb ":$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb_pid=$!
started=()
cleanup() {
    for pid in "${started[@]}"; do kill "$pid" 2>/dev/null || true; done
    kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
export DISPLAY=":$display"
for _ in $(seq 100); do
    xwininfo -root >/dev/null 2>&1 && break
    sleep 0.2
done
if ! xwininfo -root >/dev/null 2>&1; then
    echo "Xvfb did not start on $DISPLAY:" >&2
    cat "$work/xvfb.log" >&2
    exit 1
fi

# A clean prefix in Windows 10 mode (Qt 6 needs it), with Qt's messages on the error stream,
# Windows' own UI font, and no offer to install Mono or Gecko.
export WINEPREFIX=$work/prefix
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
timeout 300 "$wine_cmd" wineboot -i >/dev/null 2>&1
timeout 120 "$wine_cmd" winecfg -v win10 >/dev/null 2>&1
timeout 60 "$wine_cmd" reg add 'HKCU\Environment' /v QT_FORCE_STDERR_LOGGING /t REG_SZ /d 1 /f >/dev/null 2>&1
if [ -d /usr/share/wine/fonts ]; then
    cp /usr/share/wine/fonts/*.ttf "$WINEPREFIX/drive_c/windows/Fonts/"
fi
wineserver_cmd=$(command -v wineserver || command -v wineserver64 || echo /usr/lib/wine/wineserver64)
timeout 120 "$wineserver_cmd" -w 2>/dev/null || true

# The zip, unpacked where a user would put it.
install_dir="$WINEPREFIX/drive_c/Program Files"
cmake -E chdir "$install_dir" cmake -E tar xf "$repo/$zip"
app=$(ls -d "$install_dir"/orlix-editor-*-windows-x86_64)
for f in orlix-editor.exe orlix-editor-s.exe orlixctl.exe README-windows.txt platforms/qwindows.dll; do
    if [ ! -f "$app/$f" ]; then
        echo "the zip lacks $f" >&2
        exit 1
    fi
done

fail() {
    echo "$1" >&2
    [ -n "${2:-}" ] && [ -f "$2" ] && tail -n 40 "$2" >&2
    exit 1
}

# Waits until a top-level window with exactly this name is mapped; prints its geometry.
wait_for_window() {
    local name=$1 seconds=$2 info
    for _ in $(seq $((seconds * 2))); do
        info=$(xwininfo -name "$name" 2>/dev/null || true)
        if grep -q 'Map State: IsViewable' <<<"$info"; then
            awk '/Width:/ {w=$2} /Height:/ {h=$2} END {print w "x" h}' <<<"$info"
            return 0
        fi
        sleep 0.5
    done
    return 1
}

for program in orlix-editor orlix-editor-s; do
    title=$(sed -n 's/^Title=//p' "tools/langtables/$program/LANG1.txt" | tr -d '\r')
    echo "-- $program.exe from the zip: \"$title\""
    (cd "$app" && exec "$wine_cmd" "$program.exe" --simulate=macro) >"$work/$program.log" 2>&1 &
    pid=$!
    started+=("$pid")
    size=$(wait_for_window "$title" 120) || fail "$program.exe mapped no window titled \"$title\"" "$work/$program.log"
    [ "$size" = "800x600" ] || fail "$program.exe's window is $size, not 800x600"
    if [ "$program" = orlix-editor ]; then
        # The outline follows the skin's transparent colour key: the window is shaped.
        xwininfo -shape -name "$title" >"$work/$program-shape.txt"
        grep -q 'Window shape extents' "$work/$program-shape.txt" ||
            fail "$program.exe's window is not shaped by its colour key" "$work/$program-shape.txt"
    fi
    # A second copy brings the first one's window to the front and ends.
    (cd "$app" && timeout 60 "$wine_cmd" "$program.exe" --simulate=macro) >"$work/$program-second.log" 2>&1 ||
        fail "the second copy of $program.exe did not end by itself" "$work/$program-second.log"
    grep -q 'already running' "$work/$program-second.log" ||
        fail "the second copy of $program.exe did not find the first" "$work/$program-second.log"
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true

    # Every page rendered by the Windows build, against the Linux build's.
    mkdir -p "$work/shots-linux" "$work/shots-windows"
    QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR="$work/runtime" "build/src/shell/$program" --simulate=macro \
        --screenshot "$work/shots-linux" >/dev/null 2>"$work/$program-shots-linux.log" ||
        fail "the Linux $program --screenshot failed" "$work/$program-shots-linux.log"
    (cd "$app" && timeout 300 "$wine_cmd" "$program.exe" --simulate=macro \
        --screenshot "$("$wine_cmd" winepath -w "$work/shots-windows" 2>/dev/null)") \
        >"$work/$program-shots.log" 2>&1 || fail "$program.exe --screenshot failed" "$work/$program-shots.log"
    build/tools/shotcompare/orlix_shotcompare "$work/shots-linux" "$work/shots-windows" "$program" \
        >"$work/$program-compare.txt" || {
        cat "$work/$program-compare.txt" >&2
        fail "$program.exe's screenshots differ from the Linux ones beyond the fonts"
    }
    tail -n 1 "$work/$program-compare.txt"
done

echo "-- orlixctl.exe from the zip"
for command in info show; do
    (cd "$app" && timeout 120 "$wine_cmd" orlixctl.exe --simulate=macro "$command") 2>"$work/orlixctl-$command.err" |
        tr -d '\r' >"$work/orlixctl-$command.windows" || fail "orlixctl.exe $command failed" "$work/orlixctl-$command.err"
    build/cli/orlixctl/orlixctl --simulate=macro "$command" >"$work/orlixctl-$command.linux"
    diff -u "$work/orlixctl-$command.linux" "$work/orlixctl-$command.windows" ||
        fail "orlixctl.exe $command answers otherwise than on Linux"
done

# doctor looks at the system's HID interfaces: under wine there is no such mouse, and its JSON
# answer says so with the exit status of a missing mouse (3).
status=0
(cd "$app" && timeout 120 "$wine_cmd" orlixctl.exe doctor --json) 2>"$work/doctor.err" |
    tr -d '\r' >"$work/doctor.json" || status=$?
grep -q '"usable": false' "$work/doctor.json" && grep -q '"interfaces": \[\]' "$work/doctor.json" ||
    fail "orlixctl.exe doctor --json did not report the missing mouse" "$work/doctor.json"
[ "$status" = 3 ] || fail "orlixctl.exe doctor --json ended with $status, not 3" "$work/doctor.err"

echo "-- The window on the windows platform: Apply and the pointer settings"
cp "$build/tests/windows/orlix-windowcheck.exe" "$qt/bin/Qt6Test.dll" "$app/"
(cd "$app" && timeout 600 "$wine_cmd" orlix-windowcheck.exe) >"$work/windowcheck.log" 2>&1 ||
    fail "orlix-windowcheck.exe failed" "$work/windowcheck.log"
grep -E '^Totals' "$work/windowcheck.log"
rm "$app/orlix-windowcheck.exe" "$app/Qt6Test.dll"

end=$(date +%s)
echo "Windows stage: $((end - stage_start)) s (builds and zip $((build_done - stage_start)) s); zip $(du -k "$zip" | cut -f1) KiB"
