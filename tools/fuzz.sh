#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (with AddressSanitizer and
# UndefinedBehaviorSanitizer) in build-fuzz/ and runs each for a while.
#
#   tools/fuzz.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Targets: fuzz_protocol (the command loop with the stand-in build in the
# three builds' shapes), fuzz_protocol31 / 28 / 26 (each real build on small
# clocks), fuzz_board_file, fuzz_book, fuzz_fen.  Default: 60 seconds each,
# every target.  The corpus grows in build-fuzz/corpus/TARGET; a failing
# input is kept in build-fuzz/artifacts/ and replays with
# `build-fuzz/fuzz/TARGET FILE`.
set -euo pipefail
cd "$(dirname "$0")/.."
source tools/packages.sh
need_packages cmake clang make libgtest-dev

seconds=${1:-60}
shift || true
targets=("$@")
if [ ${#targets[@]} -eq 0 ]; then
    targets=(fuzz_protocol fuzz_protocol31 fuzz_protocol28 fuzz_protocol26 fuzz_board_file fuzz_book fuzz_fen)
fi

CXX=clang++ cmake -S . -B build-fuzz -DCMAKE_BUILD_TYPE=RelWithDebInfo -DMORVELAK_FUZZ=ON \
    -DMORVELAK_BENCH=OFF >/dev/null
cmake --build build-fuzz -j"$(nproc)" --target "${targets[@]}"

# Absolute paths: every target works in a scratch folder of its own.
out="$PWD/build-fuzz"
mkdir -p "$out/artifacts"
for t in "${targets[@]}"; do
    echo "== $t, $seconds seconds"
    mkdir -p "$out/corpus/$t"
    # Inputs up to 4 KiB from the start: a command stream of a thousand lines
    # and more.
    "$out/fuzz/$t" -max_total_time="$seconds" -max_len=4096 -len_control=0 -timeout=60 -rss_limit_mb=4096 \
        -print_final_stats=1 \
        -artifact_prefix="$out/artifacts/$t-" "$out/corpus/$t"
done
