#!/usr/bin/env bash
# Installs the Debian packages that are missing, and only those.
#   scripts/install-deps.sh run    what building, installing and running the programs needs
#   scripts/install-deps.sh test   that, and what the tests, the package check, the fuzz
#                                  targets and the Windows compile check need (the default)
# Safe to run again: it only asks apt for packages that are not installed.
set -euo pipefail

# Building the programs, `cmake --install`, `cpack -G DEB`, and what they need at run time.
run_packages=(
    build-essential cmake ninja-build pkg-config ccache
    qt6-base-dev libxkbcommon-dev libgl-dev libxi-dev
    libhidapi-dev libudev-dev libpng-dev zlib1g-dev nlohmann-json3-dev libcli11-dev
    fonts-wqy-microhei libglib2.0-bin gsettings-desktop-schemas qt6-translations-l10n qt6-wayland
    dpkg-dev file
)
# The tests, benchmarks, screenshots under Xvfb, fuzzing, the package check, mingw and wine.
test_packages=(
    libgtest-dev libgmock-dev libbenchmark-dev
    xvfb xauth x11-utils xdotool
    g++-mingw-w64-x86-64 wine64 fonts-wine
    clang libclang-rt-14-dev
    desktop-file-utils lintian appstream man-db bash-completion zsh fish
)

case "${1:-test}" in
    run) packages=("${run_packages[@]}") ;;
    test) packages=("${run_packages[@]}" "${test_packages[@]}") ;;
    *)
        echo "usage: $0 [run|test]" >&2
        exit 1
        ;;
esac

missing=()
for p in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$p")
    fi
done

if ((${#missing[@]} == 0)); then
    exit 0
fi

SUDO=""
if [ "$(id -u)" -ne 0 ]; then SUDO="sudo"; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
