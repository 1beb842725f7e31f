#!/usr/bin/env python3
"""Plays complete games between a MORVELAK program and an xboard engine
(fairymax by default, or phalanx), without a GUI, alternating colours, and
reports the results.

Every move is checked by a referee (chess.js, tools/match/referee.mjs), which
also ends the game by the rules: mate, stalemate, insufficient material,
threefold repetition, the fifty-move rule.  A game that reaches the move cap
is adjudicated a draw.  An illegal move, a crash (the engine's process ends)
or a hang (no move within --hang seconds) ends the game as a loss for the
engine at fault and is reported as a fault.  When the game ends by mate or
stalemate after fairymax's move, MORVELAK still receives the move and must
answer with the right result line instead of a move.

    tools/match/match.py --games 4 --base 30 --inc 0.5
    tools/match/match.py --uci --games 2 --base 15 --inc 0     # the engine over UCI
    tools/match/match.py --opponent /usr/games/phalanx --opponent-args "-l- -r0"

The engine's standard error is kept in each game's folder; a sanitizer report
found there is a fault of its own ("sanitizer report").  The last line is a
summary for scripts: "SUMMARY games=N illegal=N crash=N hang=N forfeit=N
sanitizer=N other=N".

Exit status: 0 when no fault of MORVELAK was seen, 1 otherwise.
"""

import argparse
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time

HERE = os.path.dirname(os.path.abspath(__file__))
ROOT = os.path.dirname(os.path.dirname(HERE))


class Fault(Exception):
    """An engine broke the game: illegal move, crash or hang."""

    def __init__(self, who, kind, detail=""):
        super().__init__(f"{kind} by {who}: {detail}")
        self.who, self.kind, self.detail = who, kind, detail


class Process:
    """A child speaking lines on stdin/stdout, read by a thread so that every
    wait can time out."""

    def __init__(self, name, argv, cwd, stderr_path=None):
        self.name = name
        err = open(stderr_path, "w") if stderr_path else subprocess.DEVNULL
        self.proc = subprocess.Popen(argv, cwd=cwd, stdin=subprocess.PIPE, stdout=subprocess.PIPE,
                                     stderr=err, text=True, bufsize=1)
        if stderr_path:
            err.close()
        self.lines = queue.Queue()
        self.transcript = []
        threading.Thread(target=self._pump, daemon=True).start()

    def _pump(self):
        for line in self.proc.stdout:
            self.lines.put(line.rstrip("\r\n"))
        self.lines.put(None)  # end of output: the process has ended

    def send(self, text):
        self.transcript.append("> " + text)
        try:
            self.proc.stdin.write(text + "\n")
            self.proc.stdin.flush()
        except (BrokenPipeError, OSError):
            raise Fault(self.name, "crash", f"pipe closed (exit status {self.proc.poll()})")

    def read(self, deadline):
        remaining = deadline - time.monotonic()
        try:
            line = self.lines.get(timeout=max(remaining, 0.001))
        except queue.Empty:
            raise Fault(self.name, "hang", "no answer in time")
        if line is None:
            self.proc.wait(timeout=5)
            raise Fault(self.name, "crash", f"process ended (exit status {self.proc.returncode})")
        self.transcript.append("< " + line)
        return line

    def close(self):
        try:
            self.send("quit")
        except Fault:
            pass
        try:
            self.proc.wait(timeout=3)
        except subprocess.TimeoutExpired:
            self.proc.kill()
            self.proc.wait()


def level(mps, base, inc):
    """The xboard "level" line: moves per control (0: the whole game), base, increment."""
    minutes, seconds = divmod(int(base), 60)
    return f"level {mps} {minutes}:{seconds:02d} {inc:g}"


class Referee:
    def __init__(self):
        node_modules = os.path.join(HERE, "node_modules", "chess.js")
        if not os.path.isdir(node_modules):
            subprocess.run(["npm", "install", "--silent", "--no-audit", "--no-fund"], cwd=HERE, check=True)
        self.proc = subprocess.Popen(["node", os.path.join(HERE, "referee.mjs")], stdin=subprocess.PIPE,
                                     stdout=subprocess.PIPE, text=True, bufsize=1)

    def ask(self, line):
        self.proc.stdin.write(line + "\n")
        self.proc.stdin.flush()
        return self.proc.stdout.readline().split()

    def new(self):
        self.ask("new")

    def move(self, text):
        """Returns (uci, status) or None for an illegal move."""
        answer = self.ask("move " + text)
        if not answer or answer[0] != "ok":
            return None
        return answer[1], answer[2]

    def close(self):
        self.proc.stdin.close()
        self.proc.wait()


class Morvelak:
    """A MORVELAK program: announces usermove, moves on "white" or in answer to
    a usermove, and is told only its own clock."""

    def __init__(self, binary, folder, hang, base, inc, mps=0):
        self.name = os.path.basename(binary)
        self.hang = hang
        self.p = Process(self.name, [binary], folder, os.path.join(folder, "stderr.txt"))
        self.p.send("xboard")
        self.p.send("protover 2")
        self.p.send("new")
        # The time control, as xboard announces it: the engine's hard limit
        # per move counts the increment in.
        self.p.send(level(mps, base, inc))

    def _await_move(self):
        deadline = time.monotonic() + self.hang
        while True:
            line = self.p.read(deadline)
            if line.startswith("move "):
                return line.split()[1]
            if line.startswith("Illegal move"):
                raise Fault(self.name, "refused a legal move", line)
            if line.startswith(("1-0", "0-1", "1/2-1/2")):
                return "result " + line

    def start_as_white(self, my_cs):
        self.p.send(f"time {my_cs}")
        self.p.send("white")
        return self._await_move()

    def reply_to(self, move, my_cs):
        self.p.send(f"time {my_cs}")
        self.p.send("usermove " + move)
        return self._await_move()

    def close(self):
        self.p.close()


class MorvelakUci:
    """A MORVELAK program spoken to in UCI: the whole game as a position
    before every move, both clocks with "go", the answer as "bestmove"."""

    def __init__(self, binary, folder, hang, base, inc):
        self.name = os.path.basename(binary)
        self.hang = hang
        self.inc_ms = int(inc * 1000)
        self.p = Process(self.name, [binary], folder, os.path.join(folder, "stderr.txt"))
        self.p.send("uci")
        self._await("uciok", 10)
        self.p.send("ucinewgame")
        self.p.send("isready")
        self._await("readyok", 10)

    def _await(self, word, seconds):
        deadline = time.monotonic() + seconds
        while True:
            line = self.p.read(deadline)
            if line.split()[:1] == [word]:
                return line

    def go(self, moves, white_cs, black_cs, to_go=0):
        self.p.send("position startpos" + (" moves " + " ".join(moves) if moves else ""))
        self.p.send(f"go wtime {white_cs * 10} btime {black_cs * 10} winc {self.inc_ms} binc {self.inc_ms}"
                    + (f" movestogo {to_go}" if to_go else ""))
        move = self._await("bestmove", self.hang).split()[1]
        if move == "0000":
            return "result none"
        return move

    def close(self):
        self.p.close()


class Opponent:
    """An xboard engine (fairymax, phalanx): told both clocks, moves on "go"
    or in answer to a move."""

    def __init__(self, argv, folder, hang, base, inc, mps=0):
        self.name = os.path.basename(argv[0])
        self.hang = hang
        self.p = Process(self.name, argv, folder)
        self.p.send("xboard")
        self.p.send("protover 2")
        self.usermove = False
        deadline = time.monotonic() + 10
        while True:  # features up to done=1
            line = self.p.read(deadline)
            if "usermove=1" in line:
                self.usermove = True
            if "done=1" in line:
                break
        if self.usermove:
            self.p.send("accepted usermove")
        self.p.send("new")
        self.p.send(level(mps, base, inc))
        self.p.send("easy")

    def _clocks(self, my_cs, other_cs):
        self.p.send(f"time {my_cs}")
        self.p.send(f"otim {other_cs}")

    def _await_move(self):
        deadline = time.monotonic() + self.hang
        while True:
            line = self.p.read(deadline)
            if line.startswith("move "):
                return line.split()[1]
            if line.startswith("resign"):
                return "resign"
            # Result claims and thinking output are left to the referee.

    def start_as_white(self, my_cs, other_cs):
        self._clocks(my_cs, other_cs)
        self.p.send("go")
        return self._await_move()

    def tell(self, move, my_cs, other_cs, answer=True):
        self._clocks(my_cs, other_cs)
        self.p.send(("usermove " if self.usermove else "") + move)
        return self._await_move() if answer else None

    def close(self):
        self.p.close()


EXPECTED_CLAIM = {
    ("checkmate", "white"): "1-0 {White mates}",
    ("checkmate", "black"): "0-1 {Black mates}",
    ("stalemate", "white"): "1/2-1/2 {Stalemate}",
    ("stalemate", "black"): "1/2-1/2 {Stalemate}",
}


SANITIZER_MARKS = ("ERROR: AddressSanitizer", "ERROR: LeakSanitizer", "runtime error:",
                   "WARNING: AddressSanitizer")


def sanitizer_report(path):
    """The first line of a sanitizer report in the engine's standard error, or None."""
    try:
        with open(path, errors="replace") as f:
            for line in f:
                if any(mark in line for mark in SANITIZER_MARKS):
                    return line.strip()
    except OSError:
        pass
    return None


def play_game(args, referee, morvelak_white, index):
    folder = tempfile.mkdtemp(prefix=f"morvelak-match-{index}-")
    for f in ("plansza1.txt", "k2.txt"):
        shutil.copy(os.path.join(ROOT, "data", f), folder)
    if args.uci:
        engine = MorvelakUci(args.engine, folder, args.hang, args.base, args.inc)
    else:
        engine = Morvelak(args.engine, folder, args.hang, args.base, args.inc, args.mps)
    opponent = Opponent([args.opponent] + args.opponent_args.split(), folder, args.hang, args.base, args.inc,
                        args.mps)
    referee.new()
    clock = {"white": args.base, "black": args.base}  # seconds left
    engine_colour = "white" if morvelak_white else "black"
    lowest = args.base  # the engine's lowest clock after one of its moves
    longest = 0.0  # the engine's longest move in seconds
    forfeit = False  # the engine lost on time
    moves = []
    result, reason, fault = None, None, None
    side = "white"
    last_for_opponent = None  # the engine's move still to be told to fairymax

    def cs(colour):
        return max(int(clock[colour] * 100), 1)

    def other(colour):
        return "black" if colour == "white" else "white"

    try:
        while result is None:
            mover_is_engine = (side == "white") == morvelak_white
            start = time.monotonic()
            if mover_is_engine:
                if args.uci:
                    played = len(moves) // 2  # the mover's own moves so far
                    to_go = args.mps - played % args.mps if args.mps else 0
                    text = engine.go(moves, cs("white"), cs("black"), to_go)
                elif not moves:
                    text = engine.start_as_white(cs(side))
                else:
                    text = engine.reply_to(moves[-1], cs(side))
                who = engine.name
            else:
                if not moves:
                    text = opponent.start_as_white(cs(side), cs(other(side)))
                else:
                    text = opponent.tell(last_for_opponent, cs(side), cs(other(side)))
                who = opponent.name
            used = time.monotonic() - start
            clock[side] += args.inc - used
            if args.mps and (len(moves) // 2 + 1) % args.mps == 0:
                clock[side] += args.base  # this move completes a control
            if mover_is_engine:
                lowest = min(lowest, clock[side])
                longest = max(longest, used)
            if text == "resign":
                result, reason = ("0-1" if side == "white" else "1-0"), f"{who} resigns"
                break
            if text.startswith("result "):
                raise Fault(who, "false result claim", text[7:])
            checked = referee.move(text)
            if checked is None:
                raise Fault(who, "illegal move", text)
            uci, status = checked
            if not mover_is_engine and uci[4:] in ("r", "b", "n"):
                # MORVELAK promotes to a queen only and rightly refuses this.
                result, reason = "*", f"{who} under-promoted ({uci}); game abandoned"
                break
            moves.append(uci[:4] if mover_is_engine and not args.uci else uci)
            if mover_is_engine:
                last_for_opponent = uci  # a MORVELAK promotion gets its queen letter
            if status == "checkmate":
                result, reason = ("1-0" if side == "white" else "0-1"), "checkmate"
            elif status != "none":
                result, reason = "1/2-1/2", status
            elif clock[side] < 0 and args.flag:
                result, reason = ("0-1" if side == "white" else "1-0"), f"{who} lost on time"
                forfeit = mover_is_engine
            elif len(moves) >= args.cap:
                result, reason = "1/2-1/2", f"adjudicated at the {args.cap}-ply cap"
            if result and not mover_is_engine and status in ("checkmate", "stalemate") and not args.uci:
                # MORVELAK is to move without a legal move: it must say so.
                engine.p.send(f"time {cs(other(side))}")
                engine.p.send("usermove " + uci)
                answer = engine._await_move()
                expected = EXPECTED_CLAIM[(status, side)]
                if answer != "result " + expected:
                    raise Fault(engine.name, "wrong end-of-game answer", f"{answer!r}, expected {expected!r}")
            side = other(side)
    except Fault as f:
        fault = f
        loser_white = (f.who == engine.name) == morvelak_white
        result, reason = ("0-1" if loser_white else "1-0"), str(f)
    finally:
        engine.close()
        opponent.close()
    report = sanitizer_report(os.path.join(folder, "stderr.txt"))
    if report and not (fault and fault.who == engine.name and fault.kind == "sanitizer report"):
        fault = Fault(engine.name, "sanitizer report", report)
    with open(os.path.join(folder, "transcript.txt"), "w") as t:
        t.write("\n".join(["[" + engine.name + "]"] + engine.p.transcript +
                          ["", "[" + opponent.name + "]"] + opponent.p.transcript) + "\n")
    return {"moves": moves, "result": result, "reason": reason, "fault": fault, "folder": folder,
            "lowest": lowest, "longest": longest, "forfeit": forfeit, "engine_colour": engine_colour}


def main():
    ap = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    ap.add_argument("--engine", default=os.path.join(ROOT, "build", "morvelak31"))
    ap.add_argument("--opponent", default="/usr/games/fairymax")
    ap.add_argument("--opponent-args", default="", help="arguments for the opponent, e.g. \"-l- -r0\" for phalanx")
    ap.add_argument("--games", type=int, default=4, help="games, colours alternating (default 4)")
    ap.add_argument("--base", type=float, default=60, help="seconds per side (default 60)")
    ap.add_argument("--inc", type=float, default=1, help="increment per move in seconds (default 1)")
    ap.add_argument("--mps", type=int, default=0, help="moves per control, the base added after each (default 0: none)")
    ap.add_argument("--cap", type=int, default=300, help="plies before a draw is adjudicated (default 300)")
    ap.add_argument("--hang", type=float, default=60, help="seconds without a move that count as a hang")
    ap.add_argument("--flag", action="store_true", help="a side whose clock runs out loses")
    ap.add_argument("--uci", action="store_true", help="speak UCI to the MORVELAK program")
    args = ap.parse_args()
    args.engine = os.path.abspath(args.engine)  # the games run in folders of their own
    args.opponent = os.path.abspath(args.opponent)
    for path in (args.engine, args.opponent):
        if not os.access(path, os.X_OK):
            sys.exit(f"{path}: not found or not executable")
    if not shutil.which("node") or not shutil.which("npm"):
        sys.exit("node and npm are needed for the referee (sudo apt-get install nodejs npm)")

    referee = Referee()
    name = os.path.basename(args.engine)
    score = {"win": 0, "draw": 0, "loss": 0}
    faults = []
    kinds = {"illegal": 0, "crash": 0, "hang": 0, "sanitizer": 0, "other": 0}
    forfeits = 0
    longest, lowest = 0.0, args.base
    for g in range(args.games):
        white = g % 2 == 0
        r = play_game(args, referee, white, g + 1)
        mine = {"1-0": "win" if white else "loss", "0-1": "loss" if white else "win"}.get(r["result"], "draw")
        score[mine] += 1
        opp = os.path.basename(args.opponent)
        pairing = f"{name} - {opp}" if white else f"{opp} - {name}"
        print(f"game {g + 1}: {pairing}  {r['result']}  ({r['reason']}, {len(r['moves'])} plies)  "
              f"[{r['folder']}]")
        print(f"    {name}'s lowest clock: {r['lowest']:.2f} s, longest move: {r['longest']:.2f} s")
        forfeits += r["forfeit"]
        longest, lowest = max(longest, r["longest"]), min(lowest, r["lowest"])
        print("    " + " ".join(r["moves"]))
        if r["fault"] and r["fault"].who == name:
            faults.append(f"game {g + 1}: {r['fault']}")
            kind = r["fault"].kind
            key = {"illegal move": "illegal", "crash": "crash", "hang": "hang",
                   "sanitizer report": "sanitizer"}.get(kind, "other")
            kinds[key] += 1
        sys.stdout.flush()
    referee.close()
    print(f"{name}: +{score['win']} ={score['draw']} -{score['loss']} in {args.games} games, "
          f"{forfeits} lost on time, {len(faults)} faults, longest move {longest:.2f} s, "
          f"lowest clock {lowest:.2f} s")
    for f in faults:
        print("FAULT " + f)
    print(f"SUMMARY games={args.games} win={score['win']} draw={score['draw']} loss={score['loss']} "
          f"illegal={kinds['illegal']} crash={kinds['crash']} hang={kinds['hang']} forfeit={forfeits} "
          f"sanitizer={kinds['sanitizer']} other={kinds['other']} longest={longest:.2f} lowest={lowest:.2f}")
    sys.exit(1 if faults else 0)


if __name__ == "__main__":
    main()
