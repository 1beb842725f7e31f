// What a build keeps in its state structs is all it keeps: a search from a
// fresh state (the bench search of driver/bench.hpp) counts the same nodes
// and chooses the same move whatever the process did before it, however many
// other positions were searched and whatever a game left behind.  A table or
// counter kept outside the structs, or a state struct a fresh start forgets,
// makes the second search of a position differ from the first.
#pragma once

#include <gtest/gtest.h>

#include <cstdio>
#include <initializer_list>
#include <string>
#include <vector>

#include "driver/bench.hpp"

namespace morvelak::test {

struct BenchRun {
    u32 nodes;
    std::string move;
};

inline BenchRun bench_run(BenchSearch search, const BenchPosition& p) {
    std::FILE* sink = std::tmpfile();
    char move[5] = {};
    const u32 nodes = search(bench_position(p), 1, move, sink);
    std::fclose(sink);
    return {nodes, move};
}

// The bench positions `which` (indices into BENCH_POSITIONS) searched
// twice: first in order, then in reverse order after `disturb` has run (a
// game, say), each result the same.
template <class Disturb>
void expect_fresh_searches(BenchSearch search, std::initializer_list<int> which, Disturb&& disturb) {
    std::vector<BenchRun> first;
    for (int i : which) first.push_back(bench_run(search, BENCH_POSITIONS[i]));
    disturb();
    for (int k = static_cast<int>(which.size()) - 1; k >= 0; --k) {
        const BenchPosition& p = BENCH_POSITIONS[which.begin()[k]];
        const BenchRun again = bench_run(search, p);
        EXPECT_EQ(again.nodes, first[k].nodes) << p.name;
        EXPECT_EQ(again.move, first[k].move) << p.name;
    }
}

}  // namespace morvelak::test
