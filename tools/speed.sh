#!/usr/bin/env bash
# Speed of builds side by side:
#
#   tools/speed.sh [RUNS] [--set NAME] DIR [DIR...]
#
# runs each program's bench (its bench set NAME when given: opening,
# middlegame, endgame) in every build folder in turn, RUNS rounds (default
# 5), and prints the best counted nodes per second of each, with its ratio
# to the first folder; then the same for perft leaves per second on two
# middlegame positions.  The benches' signatures must agree.  Run it
# on an idle machine: the best of several runs is the figure that noise
# disturbs least.  Where taskset is at hand and the script may run on
# more than one core, every run is pinned to the last of them, which keeps
# a run from being moved between cores halfway.
set -euo pipefail
runs=5
if [[ "${1:-}" =~ ^[0-9]+$ ]]; then runs=$1; shift; fi
set_args=()
if [ "${1:-}" = --set ]; then set_args=("${2:?--set needs a name}"); shift 2; fi
[ $# -ge 1 ] || { echo "usage: tools/speed.sh [RUNS] [--set NAME] DIR [DIR...]" >&2; exit 2; }
dirs=() labels=()
for d in "$@"; do dirs+=("$(realpath "$d")"); labels+=("${d%/}"); done
pin=()
if command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
    # The last core this process may use ("0-3" or "2,5,7" gives 3 or 7).
    last="$(taskset -cp $$ | sed 's/.*: *//; s/.*[,-]//')"
    [[ "$last" =~ ^[0-9]+$ ]] && pin=(taskset -c "$last")
fi
scratch="$(mktemp -d)"
trap 'rm -rf "$scratch"' EXIT
cd "$scratch"  # the programs write their record file where they run

best() {  # best "$1" "$value": keeps the larger in the named variable
    local -n b=$1
    if [ -z "${b:-}" ] || [ "$2" -gt "$b" ]; then b=$2; fi
}

cells() {  # cells UNIT: one cell per folder from the array fastest, with its ratio to the first
    local i
    for i in "${!dirs[@]}"; do
        if [ -z "${fastest[$i]:-}" ]; then printf ' %26s' '-'; continue; fi
        printf ' %14s %s x%-9s' "${fastest[$i]}" "$1" \
            "$(awk -v a="${fastest[$i]}" -v b="${fastest[0]}" 'BEGIN {printf "%.2f", a / b}')"
    done
}

printf '%-12s' program
for l in "${labels[@]}"; do
    [ ${#l} -gt 26 ] && l="${l: -26}"
    printf ' %26s' "$l"
done
echo
for p in morvelak31 morvelak28 morvelak26; do
    declare -A fastest=() signature=()
    for ((r = 0; r < runs; r++)); do
        for i in "${!dirs[@]}"; do
            [ -x "${dirs[$i]}/$p" ] || continue
            out="$("${pin[@]}" "${dirs[$i]}/$p" bench "${set_args[@]}")"
            sig="$(awk '/^Bench:/ {print $2}' <<<"$out")"
            nps="$(awk '/^Nodes\/second:/ {print $2}' <<<"$out")"
            if [ -n "${signature[$i]:-}" ] && [ "${signature[$i]}" != "$sig" ]; then
                echo "$p: signature changed between runs" >&2; exit 1
            fi
            signature[$i]=$sig
            v="${fastest[$i]:-}"; best v "$nps"; fastest[$i]=$v
        done
    done
    for i in "${!signature[@]}"; do
        if [ "${signature[$i]}" != "${signature[0]}" ]; then
            echo "$p: signature ${signature[$i]} in ${dirs[$i]}, ${signature[0]} in ${dirs[0]}" >&2; exit 1
        fi
    done
    printf '%-12s' "$p"
    cells n/s
    echo
    unset fastest signature
done

# perft: every leaf made and tested.
positions=(
    "r3k2r/p1ppqpb1/bn2pnp1/3PN3/1p2P3/2N2Q1p/PPPBBPPP/R3K2R w KQkq - 0 1|5"
    "r2q1rk1/pP1p2pp/Q4n2/bbp1p3/Np6/1B3NBn/pPPP1PPP/R3K2R b KQ - 0 1|5"
)
for entry in "${positions[@]}"; do
    fen="${entry%|*}"; depth="${entry#*|}"
    declare -A fastest=()
    leaves=""
    for ((r = 0; r < runs; r++)); do
        for i in "${!dirs[@]}"; do
            [ -x "${dirs[$i]}/perft" ] || continue
            start=$(date +%s%N)
            n="$("${pin[@]}" "${dirs[$i]}/perft" "$fen" "$depth" | awk '{s += $3} END {print s}')"
            ns=$(( $(date +%s%N) - start ))
            leaves=$n
            rate=$(( n * 1000000000 / ns ))
            v="${fastest[$i]:-}"; best v "$rate"; fastest[$i]=$v
        done
    done
    printf '%-12s' "perft${depth}"
    cells l/s
    echo "  (${leaves} leaves: ${fen%% *})"
    unset fastest
done
