#!/usr/bin/env bash
# Follows the README's install steps from a clean build folder: `scripts/run.sh` (which builds
# what installing needs), `cpack -G DEB` and `cmake --install`. Then checks that the installed
# tree and the package hold every piece, that lintian finds no error in the package, that the
# desktop entries, the AppStream metainfo and the man pages are valid, and that the shell
# completions load and complete in bash, zsh and fish.
#   scripts/package-check.sh [BUILD_DIR]     (default: build-package, removed first)
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build-package}

expected=(
    usr/bin/orlix-editor
    usr/bin/orlix-editor-s
    usr/bin/orlixctl
    usr/lib/udev/rules.d/70-orlix-mouse.rules
    usr/share/applications/orlix-editor.desktop
    usr/share/applications/orlix-editor-s.desktop
    usr/share/metainfo/io.github.orlix_editor.orlix_editor.metainfo.xml
    usr/share/man/man1/orlixctl.1.gz
    usr/share/man/man1/orlix-editor.1.gz
    usr/share/man/man1/orlix-editor-s.1.gz
    usr/share/doc/orlix-editor/copyright
    usr/share/doc/orlix-editor/changelog.gz
    usr/share/bash-completion/completions/orlixctl
    usr/share/bash-completion/completions/orlix-editor
    usr/share/bash-completion/completions/orlix-editor-s
    usr/share/zsh/vendor-completions/_orlixctl
    usr/share/zsh/vendor-completions/_orlix-editor
    usr/share/fish/vendor_completions.d/orlixctl.fish
    usr/share/fish/vendor_completions.d/orlix-editor.fish
    usr/share/fish/vendor_completions.d/orlix-editor-s.fish
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

echo "== The README's steps in a clean $build =="
rm -rf "$build"
# The clean folder reuses what other build folders compiled.
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
ORLIX_BUILD_DIR=$build bash scripts/run.sh --version
(cd "$build" && cpack -G DEB >/dev/null)
cmake --install "$build" --prefix "$scratch/usr" >/dev/null

echo "== The installed tree =="
(cd "$scratch" && find . -type f | sed 's|^\./||' | sort) >"$scratch/installed.txt"
check_list "the installed tree" "$scratch/installed.txt"
if grep -q 'MODE="0666"\|MODE="666"' "$scratch/usr/lib/udev/rules.d/70-orlix-mouse.rules"; then
    echo "the udev rule makes the mouse world-writable"
    fail=1
fi
desktop-file-validate "$scratch"/usr/share/applications/*.desktop || fail=1
appstreamcli validate --no-net "$scratch"/usr/share/metainfo/*.metainfo.xml || fail=1
for page in "$scratch"/usr/share/man/man1/*.1.gz; do
    # man reports what groff warns about on its error stream.
    warnings=$(MANWIDTH=80 man --warnings -l "$page" 2>&1 >/dev/null || echo "man failed")
    if [ -n "$warnings" ]; then
        echo "$(basename "$page"): $warnings"
        fail=1
    fi
done
for program in orlixctl orlix-editor orlix-editor-s; do
    version=$("$scratch/usr/bin/$program" --version 2>/dev/null || true)
    if ! grep -q "1\.0\.0" <<<"$version"; then
        echo "$program --version says \"$version\""
        fail=1
    fi
done

echo "== Shell completions =="
# bash: what completing "orlixctl set c" and "orlixctl show --j" offers.
bash_complete() {
    bash -c 'source /usr/share/bash-completion/bash_completion
        source "$1"; shift
        COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMP_LINE="$*"; COMP_POINT=${#COMP_LINE}
        _orlixctl; printf "%s\n" "${COMPREPLY[@]}"' _ \
        "$scratch/usr/share/bash-completion/completions/orlixctl" "$@"
}
[ "$(bash_complete orlixctl set c)" = cpi ] || { echo "bash: orlixctl set c does not give cpi"; fail=1; }
bash_complete orlixctl show --j | grep -qx -- --json || { echo "bash: show --j does not give --json"; fail=1; }
if bash_complete orlixctl show --f | grep -qx -- --file; then
    echo "bash: show offers --file, which it does not take"
    fail=1
fi
zsh -n "$scratch"/usr/share/zsh/vendor-completions/_orlixctl || fail=1
zsh -n "$scratch"/usr/share/zsh/vendor-completions/_orlix-editor || fail=1
fish_offers=$(fish --no-config -c "source $scratch/usr/share/fish/vendor_completions.d/orlixctl.fish
    complete -C 'orlixctl set '")
grep -q '^button' <<<"$fish_offers" || { echo "fish: orlixctl set does not offer button"; fail=1; }
fish --no-execute "$scratch"/usr/share/fish/vendor_completions.d/orlix-editor.fish || fail=1

echo "== cpack -G DEB and lintian =="
deb=$(ls -t "$build"/orlix-editor_*.deb | head -n 1)
dpkg-deb -c "$deb" | awk '{print $NF}' | sed 's|^\./||' | grep -v '/$' | sort >"$scratch/deb.txt"
check_list "$(basename "$deb")" "$scratch/deb.txt"
depends=$(dpkg-deb -f "$deb" Depends)
for lib in libqt6widgets6 libhidapi-hidraw0 libpng16-16 libudev1 udev fonts-wqy-microhei; do
    if ! grep -q "$lib" <<<"$depends"; then
        echo "$(basename "$deb") does not depend on $lib (Depends: $depends)"
        fail=1
    fi
done
recommends=$(dpkg-deb -f "$deb" Recommends)
for p in qt6-translations-l10n libglib2.0-bin qt6-wayland; do
    grep -q "$p" <<<"$recommends" || { echo "$(basename "$deb") does not recommend $p"; fail=1; }
done
# Errors fail the check; warnings are shown.
lintian --fail-on error --no-tag-display-limit "$deb" || fail=1
echo "$(basename "$deb"): $(wc -l <"$scratch/deb.txt") files, $(du -k "$deb" | cut -f1) KiB"
echo "Depends: $depends"
echo "Recommends: $recommends"
exit $fail
