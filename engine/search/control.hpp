// How a running search is told to stop, and what the interface asked of it.
//
// The search owns no clock and reads no input.  Every full-width node counts
// itself with poll(); every POLL_INTERVAL nodes the control looks at the wall
// clock against the move's hard limit and lets the driver look at its input
// (a "?" or a "quit" that arrived while the engine thinks).  Once stopped,
// every node returns at once and each caller unmakes its move on the way up,
// so the position is left as it was found; the roots then play the best move
// that a completed search stands behind.
//
// A search that ends before any limit never notices the control: the node
// counter, the moves and the thinking lines stay exactly what they would be
// without it.
#pragma once

#include <chrono>
#include <cstdio>

#include "engine/position/types.hpp"

namespace morvelak {

// Why a search stopped early.
enum class StopReason : u8 {
    None,      // it has not
    Deadline,  // the hard limit of the move ran out
    MoveNow,   // the interface asked for the move now ("?")
    Withdraw,  // the search is no longer wanted: no move is to be played
    Input,     // analysis: a command arrived that changes what to analyse
};

struct SearchControl {
    using Clock = std::chrono::steady_clock;
    // Full-width nodes between two looks at the clock and the input: well
    // under a millisecond of search on any build.
    static constexpr int POLL_INTERVAL = 1024;

    // ---- Set by the driver before a search ----
    // A wall-clock limit applies to this search.
    bool hasDeadline = false;
    Clock::time_point deadline{};
    // Looks at the input without waiting; returns the reason to stop, or
    // StopReason::None.  Null: nobody listens.
    StopReason (*input)(void* ctx) = nullptr;
    void* inputCtx = nullptr;
    // Thinking lines are printed ("post"), or not ("nopost"), and where they
    // go (the progress lines of m28 too).
    bool post = true;
    std::FILE* thinking = stdout;
    // The deepest search the interface allows ("sd"); 0: no cap.
    int depthCap = 0;
    // Analysis: thinking lines carry the real time and node count, and the
    // search runs until a command stops it.
    bool analysis = false;
    // Where the roots report a new best line instead of printing their own
    // thinking lines (an interface speaking another protocol); null: they
    // print.  `pv` is the line in coordinate text, moves separated by blanks.
    void (*report)(void* ctx, int depth, int shown, unsigned long nodes, const char* pv) = nullptr;
    void* reportCtx = nullptr;

    // ---- Kept by the search ----
    bool stopped = false;
    StopReason reason = StopReason::None;
    int countdown = POLL_INTERVAL;
    Clock::time_point started{};
    // What the root is doing, for a status request during analysis.
    int depth = 0;
    int moveIndex = 0;
    int moveCount = 0;
    char moveText[5] = {};
    // The first move of the best line found so far in analysis.
    char best[6] = {};

    // A search begins: nothing stopped yet, its clock starts now.
    void begin() {
        stopped = false;
        reason = StopReason::None;
        countdown = POLL_INTERVAL;
        started = Clock::now();
        depth = moveIndex = moveCount = 0;
        moveText[0] = '\0';
        best[0] = '\0';
    }
    // Every full-width node: true when the search must unwind now.
    bool poll() {
        if (stopped) return true;
        if (--countdown > 0) return false;
        countdown = POLL_INTERVAL;
        return look();
    }
    // Stops the search for `why` (the first reason given stays).
    void stop(StopReason why) {
        if (!stopped) reason = why;
        stopped = true;
    }
    // Looks at the clock and the input now.
    bool look();
    // Milliseconds since begin().
    long elapsed_ms() const;
    // The deadline is this many milliseconds after begin(); a negative
    // value removes it.
    void set_limit_ms(long ms);
    // The depth a search planned to n may go to under the cap.
    int capped(int n) const { return depthCap > 0 && depthCap < n ? depthCap : n; }
    // Whether the search was stopped without a move being wanted.
    bool withdrawn() const { return stopped && reason == StopReason::Withdraw; }
};

// A new best line at the root, depth plies deep, `shown` from the side to
// move: to the report hook when there is one, else, in analysis, as the
// thinking line "depth score centiseconds nodes line" on `stream` (when
// thinking lines are on).  `nodes` is the build's node counter.
void report_best(std::FILE* stream, int depth, int shown, unsigned long nodes, const char* line);

// The one control of this process: the driver sets it up for each search,
// the search nodes poll it.
extern SearchControl CONTROL;

}  // namespace morvelak
