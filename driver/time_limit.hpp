// The hard limit of one move: the longest the engine may think before it
// must play, whatever depth its depth control planned.
//
// The depth control guesses the depth a move can afford from the time the
// last moves took; a guess that is wrong late in a game would otherwise run
// past the flag.  The hard limit is the safety net under that guess and is
// meant to be reached rarely: it allows three times a fair share of the
// time left, so ordinary searches finish untouched.
//
//   r    the engine's remaining time (the last "time")
//   h    moves left to the next time control ("level MPS ..."), or, in a game
//        without one, a horizon of 30 moves
//   inc  the increment per move ("level ... INC")
//
//   share = (r + inc * (h - 1)) / h      a fair share of what is left
//   limit = min(3 * share, cap) - OVERHEAD
//   cap   = (r - OVERHEAD) / 2           with moves still to play before
//                                        the next control, or
//           r - 2 * OVERHEAD             for the last move before it (the
//                                        control then adds time)
//
// Why it keeps the engine on the board: in a game without increment no move
// takes more than a tenth of what is left, so the clock shrinks
// geometrically and the depth control, which lowers its depth after every
// move that ran long, has dozens of moves to come down to searches that take
// milliseconds; with moves per control no move takes more than half of the
// clock, and an increment refills it.  The OVERHEAD taken off every move
// covers the time the interface and the pipe spend between the engine's
// clock and the interface's.  A fixed time per move ("st N") is N seconds
// less the same overhead, and never more than the clock still holds.  The
// limit is never below MIN_MS: the engine always has a moment to play the
// best move its completed searches found.  Only a clock of under a tenth of
// a second lowers that floor, to a twentieth of what is left and at least
// 1 ms: at a few centiseconds a 5 ms move would empty the clock in a few
// moves, while searches of a millisecond still give a legal, sensible move
// for as long as the game goes on.
#pragma once

namespace morvelak {

struct TimeControl {
    // The engine's remaining time in milliseconds; negative: never told.
    long remainingMs = -1;
    // Moves per time control; 0: the whole game (sudden death or increment).
    int movesPerControl = 0;
    long incrementMs = 0;
    // A fixed time per move in milliseconds; negative: none.
    long perMoveMs = -1;
};

inline constexpr long OVERHEAD_MS = 50;
inline constexpr long MIN_MS = 5;
inline constexpr int HORIZON_MOVES = 30;

// The hard limit in milliseconds for the engine's next move, when it has
// already made `movesMade` moves in this game; negative: no limit (no clock
// and no time per move known).
inline long hard_limit_ms(const TimeControl& tc, int movesMade) {
    long limit = -1;
    if (tc.perMoveMs >= 0) {
        // A fixed time per move: the interface's clock, if it sends one,
        // counts that move's time down, so the share rule does not apply;
        // only what is really left bounds it.
        limit = tc.perMoveMs - OVERHEAD_MS;
        if (tc.remainingMs >= 0 && tc.remainingMs - 2 * OVERHEAD_MS < limit)
            limit = tc.remainingMs - 2 * OVERHEAD_MS;
    } else if (tc.remainingMs >= 0) {
        const long r = tc.remainingMs;
        int h = HORIZON_MOVES;
        if (tc.movesPerControl > 0) h = tc.movesPerControl - movesMade % tc.movesPerControl;
        const long share = (r + tc.incrementMs * (h - 1)) / h;
        const long cap = h > 1 ? (r - OVERHEAD_MS) / 2 : r - 2 * OVERHEAD_MS;
        limit = (3 * share < cap ? 3 * share : cap) - OVERHEAD_MS;
    } else {
        return -1;
    }
    long floor = MIN_MS;
    if (tc.remainingMs >= 0 && tc.remainingMs / 20 < floor)
        floor = tc.remainingMs / 20 < 1 ? 1 : tc.remainingMs / 20;
    return limit < floor ? floor : limit;
}

}  // namespace morvelak
