#!/usr/bin/env bash
# Tries a program in the real xboard, headless, the way a user would:
#
#   tools/xboard/try.sh movenow  build/morvelak31   # Move Now (Ctrl-M) during a long think
#   tools/xboard/try.sh analysis build/morvelak28   # Analysis mode for ten seconds
#
# Each run works in a fresh folder under /tmp with the project's board file
# and book, a throw-away HOME, and xboard's debug log (xboard.debug), from
# which the lines between xboard and the engine are shown.  Needs the Debian
# packages xboard, xvfb and xdotool.
set -euo pipefail
what=${1:?movenow or analysis}
engine=$(realpath "${2:?engine program}")
root=$(cd "$(dirname "$0")/../.." && pwd)
for tool in /usr/games/xboard Xvfb xdotool; do
    command -v "$tool" >/dev/null || { echo "needs: sudo apt-get install xboard xvfb xdotool"; exit 2; }
done
dir=$(mktemp -d /tmp/morvelak-xboard-XXXXXX)
cd "$dir"
cp "$root/data/plansza1.txt" "$root/data/k2.txt" .
# A middlegame with plenty to think about.
echo "r1bq1rk1/2p1bppp/p1np1n2/1p2p3/4P3/1BPP1N2/PP3PPP/RNBQR1K1 w - - 0 9" > position.fen
export HOME=$dir
display=:$((100 + RANDOM % 400))
Xvfb "$display" -screen 0 1280x1024x24 >/dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2>/dev/null || true' EXIT
sleep 1
export DISPLAY=$display
common=(-fcp "$engine" -fd "$dir" -lpf position.fen -debug -saveSettingsOnExit false -xponder)
case $what in
movenow)
    /usr/games/xboard "${common[@]}" -mode MachineWhite -tc 60 -inc 0 >/dev/null 2>&1 &
    xb=$!
    for _ in $(seq 1 60); do
        sleep 0.5
        grep -q ">first : go" xboard.debug 2>/dev/null && break
    done
    sleep 1
    window=$(xdotool search --onlyvisible --class xboard | head -1)
    xdotool windowactivate --sync "$window" 2>/dev/null || xdotool windowfocus --sync "$window"
    xdotool key ctrl+m
    sleep 3
    kill $xb
    grep -E ">first : (go|\?)|<first : move" xboard.debug
    ;;
analysis)
    timeout 10 /usr/games/xboard "${common[@]}" -mode Analysis >/dev/null 2>&1 || true
    grep -E ">first : analyze|<first : [0-9]" xboard.debug
    echo "game record: '$(cat zapisparti.txt 2>/dev/null)'"
    ;;
*)
    echo "movenow or analysis" >&2
    exit 2
    ;;
esac
echo "(folder: $dir)"
