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
// program start (the thinking lines still going where the test sends them),
// so that no test leaves a stopped control to the next.
// Also: the check of analysis lines.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <set>
#include <string>
#include <vector>

#include "engine/position/position.hpp"
#include "engine/search/control.hpp"

namespace morvelak::test {

class StopWhen {
public:
    // Stop at this look (1, 2, ...)?
    using Condition = bool (*)(int look, const SearchControl& control, int arg);

    // `why` is what the input stands for: "?" by default, or the clock, or
    // a take-back.
    StopWhen(Condition when, int arg, StopReason why = StopReason::MoveNow) : when_(when), arg_(arg), why_(why) {
        fresh_control();
        CONTROL.begin();
        CONTROL.input = [](void* ctx) {
            StopWhen& s = *static_cast<StopWhen*>(ctx);
            return s.when_(++s.looks_, CONTROL, s.arg_) ? s.why_ : StopReason::None;
        };
        CONTROL.inputCtx = this;
    }
    ~StopWhen() { fresh_control(); }
    StopWhen(const StopWhen&) = delete;
    StopWhen& operator=(const StopWhen&) = delete;

    int looks() const { return looks_; }

private:
    // The control as at program start, its lines still going where the test
    // sends them.
    static void fresh_control() {
        std::FILE* thinking = CONTROL.thinking;
        CONTROL = SearchControl{};
        CONTROL.thinking = thinking;
    }

    Condition when_;
    int arg_;
    StopReason why_;
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

// The thinking lines of an analysis stopped at depth 5, in `text`: each
// "depth score time nodes move", depths and node counts never falling, every
// move one of `legal`, every score above `minScore` (the side to move's
// view), and a line for each of the depths 2, 3 and 4.
inline void expect_analysis_lines(const std::string& text, const std::vector<std::string>& legal, int minScore) {
    int lastDepth = 2;
    unsigned long lastNodes = 0;
    std::set<int> depths;
    std::size_t at = 0;
    while (at < text.size()) {
        const std::size_t end = text.find('\n', at);
        const std::string l = text.substr(at, end - at);
        at = end == std::string::npos ? text.size() : end + 1;
        int depth = 0, score = 0, n = 0;
        long time = -1;
        unsigned long nodes = 0;
        char move[5] = {};
        ASSERT_EQ(std::sscanf(l.c_str(), "%d %d %ld %lu %4s%n", &depth, &score, &time, &nodes, move, &n), 5) << l;
        EXPECT_EQ(static_cast<std::size_t>(n), l.size()) << l;
        EXPECT_GE(depth, lastDepth) << l;
        EXPECT_GE(nodes, lastNodes) << l;
        EXPECT_GE(time, 0) << l;
        EXPECT_NE(std::find(legal.begin(), legal.end(), move), legal.end()) << l;
        EXPECT_GT(score, minScore) << l;
        lastDepth = depth;
        lastNodes = nodes;
        depths.insert(depth);
    }
    EXPECT_EQ(depths, (std::set<int>{2, 3, 4})) << "each depth completes with a line, and 5 is stopped";
    EXPECT_GT(lastNodes, 0u);
}

}  // namespace morvelak::test
