#!/usr/bin/env bash
# A profile-guided release build of the three programs:
#
#   tools/pgo.sh [BUILD_DIR]      (default build-pgo/)
#
# builds them to record where their time goes, runs each program's bench
# sets (the fixed searches of the opening, the middle game and the endgame),
# then builds them again in the same folder with what the runs recorded.
# The searches are node for node the same as the plain release build's:
# every bench set prints its usual signature.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
build="$(realpath -m "${1:-$root/build-pgo}")"
programs=(morvelak31 morvelak28 morvelak26)
sets=(opening middlegame endgame)

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
    for set in "${sets[@]}"; do
        (cd "$runs" && "$build/$p" bench "$set" | grep '^Bench:')
    done
done
configure USE
# The finished programs search as the plain build does: same signatures
# (recorded as morvelakNN for the opening, morvelakNN:SET for the others).
for p in "${programs[@]}"; do
    for set in "${sets[@]}"; do
        name="$p"; [ "$set" = opening ] || name="$p:$set"
        want="$(awk -v p="$name" '$1 == p {print $2}' "$root/bench/signatures.txt")"
        got="$(cd "$runs" && "$build/$p" bench "$set" | awk '/^Bench:/ {print $2}')"
        if [ "$got" != "$want" ]; then
            echo "$p bench $set: signature $got, expected $want" >&2
            exit 1
        fi
    done
done
echo "profile-guided programs in $build: ${programs[*]} (signatures checked)"
