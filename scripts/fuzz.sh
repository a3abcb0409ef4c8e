#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build-fuzz and runs each one for a short, bounded
# time (FUZZ_SECONDS, default 15) from seeds made of the shipped resources, then replays every
# saved regression input. A crash fails the script and leaves its input in build-fuzz/crashes.
#   scripts/fuzz.sh                 all targets
#   scripts/fuzz.sh fuzz_png 600    one target for ten minutes
set -euo pipefail
cd "$(dirname "$0")/.."

seconds=${FUZZ_SECONDS:-15}
only=${1:-}
[ $# -ge 2 ] && seconds=$2

export ASAN_OPTIONS=detect_leaks=0
CC=clang CXX=clang++ cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DORLIX_FUZZ=ON -DORLIX_GUI=OFF -DORLIX_TESTS=OFF -DORLIX_BENCH=OFF >/dev/null
cmake --build build-fuzz -j "$(nproc)" --target orlix_fuzzers

seeds=build-fuzz/seeds
rm -rf "$seeds"
mkdir -p "$seeds"/{profile,macro,descriptor,answers,language,layout,png,json}
cp resources/*/OrlixData.bin "$seeds/profile/" 2>/dev/null || true
i=0
for f in resources/orlix-editor/OrlixData.bin resources/orlix-editor-s/OrlixData.bin; do
    i=$((i + 1)); cp "$f" "$seeds/profile/image$i.bin"
done
head -c 1056 /dev/zero > "$seeds/macro/empty-one.bin"
# Exported configurations: the default of each edition and one with a full macro store.
cp fuzz/seeds/config-json/*.json "$seeds/json/"
printf '\x00' > "$seeds/answers/truthful-basic"
printf '\x01' > "$seeds/answers/truthful-macro"
for f in resources/orlix-editor/LANG*.txt resources/orlix-editor-s/LANG*.txt; do
    cp "$f" "$seeds/language/$(basename "$(dirname "$f")")-$(basename "$f")"
done
for f in resources/*/ORG*.ini; do
    cp "$f" "$seeds/layout/$(basename "$(dirname "$f")")-$(basename "$f")"
done
find resources/orlix-editor -name "*.png" | head -n 4 | xargs -I{} cp {} "$seeds/png/"
# The simulated mouse's report descriptor and a boot mouse's.
printf '\x06\x00\xff\x09\x01\xa1\x01\x85\x40\x09\x01\x15\x00\x26\xff\x00\x75\x08\x95\x07\xb1\x02\x85\x41\x09\x02\x95\x07\xb1\x02\xc0' \
    > "$seeds/descriptor/vendor"
printf '\x05\x01\x09\x02\xa1\x01\x09\x01\xa1\x00\x05\x09\x19\x01\x29\x03\x15\x00\x25\x01\x95\x03\x75\x01\x81\x02\x95\x01\x75\x05\x81\x01\x05\x01\x09\x30\x09\x31\x15\x81\x25\x7f\x75\x08\x95\x02\x81\x06\xc0\xc0' \
    > "$seeds/descriptor/boot-mouse"

declare -A seed_of=(
    [fuzz_profile_file]=profile [fuzz_macro_files]=macro [fuzz_report_descriptor]=descriptor
    [fuzz_device_answers]=answers [fuzz_language_table]=language [fuzz_layout]=layout
    [fuzz_png]=png [fuzz_config_json]=json
)

mkdir -p build-fuzz/crashes
status=0
for target in "${!seed_of[@]}"; do
    [ -n "$only" ] && [ "$target" != "$only" ] && continue
    corpus=build-fuzz/corpus/$target
    mkdir -p "$corpus"
    regressions=fuzz/regressions/$target
    if [ -d "$regressions" ] && [ -n "$(ls -A "$regressions")" ]; then
        echo "== $target: regression inputs =="
        "build-fuzz/fuzz/$target" "$regressions"/* >/dev/null 2>&1 || {
            echo "$target fails on a saved regression input"; status=1; }
    fi
    echo "== $target: ${seconds}s =="
    if ! "build-fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=10 -rss_limit_mb=2048 \
        -artifact_prefix="build-fuzz/crashes/$target-" -print_final_stats=0 \
        "$corpus" "$seeds/${seed_of[$target]}" >"build-fuzz/$target.log" 2>&1; then
        echo "$target found a fault:"; tail -n 30 "build-fuzz/$target.log"; status=1
    else
        grep -E '^#[0-9]+.*(DONE|pulse)' "build-fuzz/$target.log" | tail -n 1 || true
    fi
done
exit $status
