#!/usr/bin/env bash
# A profile-guided release build of the three programs:
#
#   tools/pgo.sh [BUILD_DIR]      (default build-pgo/)
#
# builds them to record where their time goes, runs each program's bench
# (the fixed first-move searches), then builds them again in the same folder
# with what the runs recorded.  The searches are node for node the same as
# the plain release build's: every bench prints its usual signature.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-pgo}")"
programs=(morvelak31 morvelak28 morvelak26)

source "$root/tools/packages.sh"
need_packages cmake clang llvm g++ make

configure() {
    cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Release -DMORVELAK_PGO="$1" >/dev/null
    cmake --build "$build" --target "${programs[@]}" -j"$(nproc)"
}

rm -rf "$build/pgo-profile"
configure GENERATE
# The programs write their record file into the folder they run in.
runs="$(mktemp -d)"
trap 'rm -rf "$runs"' EXIT
for p in "${programs[@]}"; do
    (cd "$runs" && "$build/$p" bench | grep '^Bench:')
done
configure USE
# The finished programs search as the plain build does: same signatures.
for p in "${programs[@]}"; do
    want="$(awk -v p="$p" '$1 == p {print $2}' "$root/bench/signatures.txt")"
    got="$(cd "$runs" && "$build/$p" bench | awk '/^Bench:/ {print $2}')"
    if [ "$got" != "$want" ]; then
        echo "$p: bench signature $got, expected $want" >&2
        exit 1
    fi
done
echo "profile-guided programs in $build: ${programs[*]} (signatures checked)"
