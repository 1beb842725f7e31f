#!/usr/bin/env bash
# The long run: about a thousand games (1002) of the three programs against Fairy-Max
# and Phalanx, over both protocols, at several fast time controls, part of
# them with the sanitizer build.  Every game is refereed by match.py; the
# table at the end counts what must stay zero: illegal moves, crashes, hangs,
# games lost on time and sanitizer reports.
#
#   tools/match/soak.sh                 # the full plan (about 1000 games)
#   SCALE=0.1 tools/match/soak.sh       # a tenth of every line of the plan
#   JOBS=2 tools/match/soak.sh          # two matches at a time (one per core:
#                                       # only one side thinks at a time)
#   PROGRAMS=morvelak28 tools/match/soak.sh   # one program's share only
#
# Needs build/ and build-sanitize/ (the ./check builds), fairymax, phalanx,
# node and npm.  Logs go to soak-logs/ (override with LOGS=...).
set -euo pipefail
cd "$(dirname "$0")/../.."
source tools/packages.sh
need_packages fairymax phalanx
command -v node >/dev/null && command -v npm >/dev/null ||
    { echo "node and npm are needed for the referee (sudo apt-get install nodejs npm)" >&2; exit 1; }

SCALE=${SCALE:-1}
PROGRAMS=${PROGRAMS:-morvelak31 morvelak28 morvelak26}
JOBS=${JOBS:-1}
LOGS=${LOGS:-soak-logs}
mkdir -p "$LOGS"
export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1

FAIRYMAX=/usr/games/fairymax
PHALANX="/usr/games/phalanx"
PHALANX_ARGS="-l- -r0"  # no learning file, never resigns

# build protocol opponent games base inc mps
PLAN=(
  "build          xboard fairymax 100 1 0    0"
  "build          xboard phalanx   60 1 0.02 0"
  "build          uci    fairymax  60 1 0.01 0"
  "build          uci    phalanx   50 1 0    40"
  "build          xboard fairymax  30 2 0    40"
  "build-sanitize xboard fairymax  20 2 0.02 0"
  "build-sanitize uci    phalanx   14 2 0.02 0"
)

run_line() {
  local program=$1 build=$2 proto=$3 opp=$4 games=$5 base=$6 inc=$7 mps=$8
  games=$(python3 -c "import math; print(max(2, math.ceil($games * $SCALE)))")
  local log="$LOGS/$program-$build-$proto-$opp-${base}s+${inc}-mps$mps.log"
  local args=(--engine "$build/$program" --games "$games" --base "$base" --inc "$inc" --mps "$mps"
              --flag --hang 30)
  [[ $proto == uci ]] && args+=(--uci)
  if [[ $opp == phalanx ]]; then
    args+=(--opponent "$PHALANX" --opponent-args "$PHALANX_ARGS")
  else
    args+=(--opponent "$FAIRYMAX")
  fi
  python3 tools/match/match.py "${args[@]}" > "$log" 2>&1 || true
  echo "$program $build $proto $opp ${base}s+${inc} mps=$mps $(grep '^SUMMARY' "$log" || echo 'SUMMARY missing')"
}

for program in $PROGRAMS; do
  for line in "${PLAN[@]}"; do
    read -r build proto opp games base inc mps <<< "$line"
    [[ -x $build/$program ]] || { echo "$build/$program: build it first (./check)"; exit 2; }
    while (( $(jobs -rp | wc -l) >= JOBS )); do wait -n; done
    run_line "$program" "$build" "$proto" "$opp" "$games" "$base" "$inc" "$mps" >> "$LOGS/summary.txt" &
  done
done
wait

# The table: one row a program, the faults summed over its lines.
python3 - "$LOGS/summary.txt" <<'EOF'
import re, sys
rows = {}
for line in open(sys.argv[1]):
    program = line.split()[0]
    r = rows.setdefault(program, dict.fromkeys(
        ["games", "win", "draw", "loss", "illegal", "crash", "hang", "forfeit", "sanitizer", "other"], 0))
    if "SUMMARY missing" in line:
        r["other"] += 1  # the match runner itself stopped
    for k, v in re.findall(r"(\w+)=(\d+)(?=\s|$)", line):
        if k in r:
            r[k] += int(v)
cols = ["games", "win", "draw", "loss", "illegal", "crash", "hang", "forfeit", "sanitizer", "other"]
print("| program | " + " | ".join(cols) + " |")
print("|---" * (len(cols) + 1) + "|")
total = dict.fromkeys(cols, 0)
for program, r in rows.items():
    print(f"| {program} | " + " | ".join(str(r[c]) for c in cols) + " |")
    for c in cols:
        total[c] += r[c]
print("| all | " + " | ".join(str(total[c]) for c in cols) + " |")
bad = sum(total[c] for c in ["illegal", "crash", "hang", "forfeit", "sanitizer", "other"])
sys.exit(1 if bad else 0)
EOF
