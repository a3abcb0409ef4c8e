#!/usr/bin/env bash
# Installs the Debian packages the build, the tests and the Windows compile check need.
# Safe to run again: it only asks apt for packages that are missing.
set -euo pipefail

packages=(
    build-essential cmake ninja-build pkg-config
    qt6-base-dev libxkbcommon-dev libgl-dev libxi-dev
    libhidapi-dev libpng-dev zlib1g-dev
    libgtest-dev libgmock-dev libbenchmark-dev
    fonts-wqy-microhei xvfb xauth xdotool
    g++-mingw-w64-x86-64 wine64
    ccache clang libclang-rt-14-dev nlohmann-json3-dev x11-utils
    libglib2.0-bin gsettings-desktop-schemas qt6-translations-l10n
    dpkg-dev file desktop-file-utils
)

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
