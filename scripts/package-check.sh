#!/usr/bin/env bash
# Installs the build into a scratch prefix and builds the Debian package, then checks that both
# hold the programs, the udev rule, the desktop entries, the icons and the man page, and that
# the package depends on the libraries the programs link.
#   scripts/package-check.sh [BUILD_DIR]     (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}

expected=(
    usr/bin/orlix-editor
    usr/bin/orlix-editor-s
    usr/bin/orlixctl
    usr/lib/udev/rules.d/70-orlix-mouse.rules
    usr/share/applications/orlix-editor.desktop
    usr/share/applications/orlix-editor-s.desktop
    usr/share/man/man1/orlixctl.1
)
for edition in orlix-editor orlix-editor-s; do
    for size in 16 24 32 48 64 128 256; do
        expected+=("usr/share/icons/hicolor/${size}x${size}/apps/$edition.png")
    done
done

fail=0
check_list() { # $1: what, $2: file with one path per line
    for path in "${expected[@]}"; do
        if ! grep -qx "$path" "$2"; then
            echo "$1 lacks $path"
            fail=1
        fi
    done
}

scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

echo "== cmake --install into a scratch prefix =="
cmake --install "$build" --prefix "$scratch/usr" >/dev/null
(cd "$scratch" && find . -type f | sed 's|^\./||' | sort) >"$scratch/installed.txt"
check_list "the installed tree" "$scratch/installed.txt"
if grep -q 'MODE="0666"\|MODE="666"' "$scratch/usr/lib/udev/rules.d/70-orlix-mouse.rules"; then
    echo "the udev rule makes the mouse world-writable"
    fail=1
fi
if command -v desktop-file-validate >/dev/null; then
    desktop-file-validate "$scratch"/usr/share/applications/*.desktop || fail=1
fi

echo "== cpack -G DEB =="
(cd "$build" && cpack -G DEB >/dev/null)
deb=$(ls -t "$build"/orlix-editor_*.deb | head -n 1)
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' | grep -v '/$' | sort >"$scratch/deb.txt"
check_list "$(basename "$deb")" "$scratch/deb.txt"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libhidapi-hidraw0 libpng16-16 udev; do
    if ! grep -q "$lib" <<<"$depends"; then
        echo "$(basename "$deb") does not depend on $lib (Depends: $depends)"
        fail=1
    fi
done
echo "$(basename "$deb"): $(wc -l <"$scratch/deb.txt") files; Depends: $depends"
exit $fail
