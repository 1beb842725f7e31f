// The bench every program runs: each position once, in order, its line, the
// total as "Bench: N" (what ctest compares with bench/signatures.txt), the
// time and the speed; the thinking lines of the searches go to a sink that
// is neither standard output nor the caller's output.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "driver/bench.hpp"
#include "engine/eval/m31/eval.hpp"
#include "engine/eval/older/eval.hpp"
#include "engine/eval/phase.hpp"
#include "engine/position/rebuild.hpp"

namespace morvelak::test {
namespace {

std::FILE* seenSink = nullptr;
int calls = 0;

// What the stand-in search finds: a thousand nodes per piece, and a move by
// the side to move.
u32 nodes_of(const FenPosition& pos) {
    u32 pieces = 0;
    for (int s = 11; s <= 88; ++s) pieces += pos.pl[s] != EMPTY && pos.pl[s] != BORDER;
    return 1000 * pieces;
}
const char* move_of(const FenPosition& pos) { return pos.toMove == Side::White ? "e2e4" : "e7e5"; }

int lastMove = 0;  // the move number the stand-in was last asked for

// The stand-in search, writing a thinking line to its sink.
u32 stand_in_search(const FenPosition& pos, int moveNumber, char* move, std::FILE* sink) {
    ++calls;
    lastMove = moveNumber;
    seenSink = sink;
    std::fputs("a thinking line\n", sink);
    std::memcpy(move, move_of(pos), 4);
    return nodes_of(pos);
}

TEST(Bench, EveryPositionOnceThenTheSignatureTimeAndSpeed) {
    char* text = nullptr;
    std::size_t size = 0;
    std::FILE* out = open_memstream(&text, &size);
    calls = 0;
    const BenchResult r = run_bench(stand_in_search, out);
    std::fclose(out);
    const std::string printed(text, size);
    std::free(text);

    constexpr int n = sizeof BENCH_POSITIONS / sizeof BENCH_POSITIONS[0];
    EXPECT_EQ(calls, n);
    u32 total = 0;
    std::string expected;
    for (const BenchPosition& p : BENCH_POSITIONS) {
        const FenPosition pos = bench_position(p);
        const u32 nodes = nodes_of(pos);
        total += nodes;
        char line[64];
        std::snprintf(line, sizeof line, "%-16s %-4s %10u\n", p.name, move_of(pos), nodes);
        expected += line;
    }
    EXPECT_EQ(r.nodes, total);
    expected += "Bench: " + std::to_string(total) + "\n";
    ASSERT_EQ(printed.substr(0, expected.size()), expected);
    EXPECT_NE(printed.find("\nTime: ", expected.size() - 1), std::string::npos) << printed;
    EXPECT_NE(printed.find("\nNodes/second: "), std::string::npos) << printed;
    EXPECT_NE(seenSink, nullptr);
    EXPECT_NE(seenSink, stdout);
}

TEST(Bench, WithoutAnOutputItOnlyCounts) {
    calls = 0;
    const BenchResult r = run_bench(stand_in_search, nullptr);
    EXPECT_EQ(calls, static_cast<int>(sizeof BENCH_POSITIONS / sizeof BENCH_POSITIONS[0]));
    EXPECT_GT(r.nodes, 0u);
    EXPECT_GE(r.seconds, 0.0);
}

// Each set by its name, every position once at the set's move; "bench" with
// no set is the first, whose signature is the search's.
TEST(Bench, EachSetSearchesItsPositionsAtItsMove) {
    EXPECT_STREQ(BENCH_SETS[0].name, "opening");
    EXPECT_EQ(BENCH_SETS[0].positions, BENCH_POSITIONS);
    EXPECT_EQ(find_bench_set("Endgame"), nullptr);
    EXPECT_EQ(find_bench_set(""), nullptr);
    for (const BenchSet& set : BENCH_SETS) {
        ASSERT_EQ(find_bench_set(set.name), &set);
        calls = 0;
        lastMove = 0;
        u32 total = 0;
        for (int i = 0; i < set.count; ++i) total += nodes_of(bench_position(set.positions[i]));
        EXPECT_EQ(run_bench(stand_in_search, set, nullptr).nodes, total) << set.name;
        EXPECT_EQ(calls, set.count) << set.name;
        EXPECT_EQ(lastMove, set.move) << set.name;
    }
}

// Every position of a set stands in the set's phase for every build at the
// set's move: both colours in the opening, the middle game, the endgame.
// The older builds' counter counts full moves from 0 (opening before 6,
// middle game after 11); m31's counts plies (12 and 18).
TEST(Bench, SetsStandInTheirPhases) {
    const struct {
        const char* set;
        int phase;
    } expected[] = {{"opening", 0}, {"middlegame", 1}, {"endgame", 2}};
    for (const auto& e : expected) {
        const BenchSet* set = find_bench_set(e.set);
        ASSERT_NE(set, nullptr) << e.set;
        for (int i = 0; i < set->count; ++i) {
            const FenPosition pos = bench_position(set->positions[i]);
            std::memcpy(POS.PL, pos.pl, 100);
            std::memcpy(POS.WYJ, pos.wyj, 4);
            const int ply = pos.toMove == Side::White ? 0 : 1;
            Phase older, newest;
            skroctablice(m28::SCALE);
            decide_phase(older, set->move - 1, 6, 11);
            skroctablice(m31::SCALE);
            decide_phase(newest, 2 * (set->move - 1) + ply, 12, 18);
            for (const Phase& p : {older, newest}) {
                EXPECT_EQ(p.STANB, e.phase) << e.set << ": " << set->positions[i].name;
                EXPECT_EQ(p.STANC, e.phase) << e.set << ": " << set->positions[i].name;
            }
        }
    }
}

}  // namespace
}  // namespace morvelak::test
