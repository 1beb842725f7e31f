// Stopping a search from a test the way the interface does: the search
// control's input callback answers "?" (the move now) once a condition
// holds.  The search asks at every look it takes at its input, one look every
// SearchControl::POLL_INTERVAL full-width nodes, so a condition on the number
// of the look, or on what the root reports it is doing (CONTROL.moveIndex,
// CONTROL.moveCount, CONTROL.depth), stops the search at a point that is the
// same on every run.
//
// While the object lives the control is set up as for a search the engine
// plays (begin() has run); when it goes, the control is put back as at
// program start, so that no test leaves a stopped control to the next.
#pragma once

#include "engine/search/control.hpp"

namespace morvelak::testing_stop {

class StopWhen {
public:
    // `when(look, control)`: stop at this look (1, 2, ...)?
    using Condition = bool (*)(int look, const SearchControl& control, int arg);

    StopWhen(Condition when, int arg) : when_(when), arg_(arg) {
        CONTROL = SearchControl{};
        CONTROL.begin();
        CONTROL.input = [](void* ctx) {
            StopWhen& s = *static_cast<StopWhen*>(ctx);
            return s.when_(++s.looks_, CONTROL, s.arg_) ? StopReason::MoveNow : StopReason::None;
        };
        CONTROL.inputCtx = this;
    }
    ~StopWhen() { CONTROL = SearchControl{}; }
    StopWhen(const StopWhen&) = delete;
    StopWhen& operator=(const StopWhen&) = delete;

    int looks() const { return looks_; }

private:
    Condition when_;
    int arg_;
    int looks_ = 0;
};

// At the k-th look.
inline bool at_look(int look, const SearchControl&, int k) { return look == k; }
// Once the root has reached its move number b (0 for the first); the root
// sets moveCount when its loop begins, so a pre-sort before it is not
// stopped.
inline bool at_root_move(int, const SearchControl& c, int b) { return c.moveCount > 0 && c.moveIndex >= b; }
// Once an analysis has reached depth d.
inline bool at_depth(int, const SearchControl& c, int d) { return c.depth >= d; }

}  // namespace morvelak::testing_stop
