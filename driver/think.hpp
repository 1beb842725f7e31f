// The engine thinking, the same under every protocol: the search control set
// up around the build's computer move or its analysis, and the key window
// kept as it was when the interface takes the search back.
#pragma once

#include "driver/protocol.hpp"
#include "engine/search/control.hpp"

namespace morvelak {

// Phase and weights from the game so far, then lists, values and rights from
// the board: before every engine move and before an opponent move is made.
inline void prepare(const BuildPolicy& p) {
    p.eval_setup();
    p.rebuild();
}

// Who listens to the input while the engine thinks.
struct Listener {
    StopReason (*listen)(void* ctx) = nullptr;
    void* ctx = nullptr;
};

enum class Thought {
    Moved,      // the move is made and its text written
    NoMove,     // the side has no legal move; nothing changed
    Withdrawn,  // the interface took the search back; nothing changed
};

// The engine chooses, makes and records side's move (the lists prepared),
// within limitMs milliseconds (negative: no limit), its text going into
// move[0..3].
Thought think(const BuildPolicy& p, Side side, char* move, long limitMs, Listener listener);

// Analysis of the position with `toMove` to move until the listener stops it
// or the build's deepest search is done.  Returns whether it ran to its end.
bool analyse(const BuildPolicy& p, Side toMove, Listener listener);

// The record file is (re)opened for a new game; null: the game goes
// unrecorded.
void open_record();

}  // namespace morvelak
